// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's folder chooser: a caption, a folder selected at the start, a root, and a status
// line that can show the selected path. The component holds the properties and decides what the
// dialog shows; a FolderDialogPort shows the dialog itself (a Qt dialog in the program, a
// script in tests).

#include "ports/ports.h"

#include <filesystem>
#include <functional>
#include <string>

namespace tobira {

// The eleven places, for the initial selection and for the root. Where they are on Linux:
// desktop: the XDG desktop folder as the selection, the whole file system ("/") as the root;
// manual: the named folder (the desktop when it is not an existing folder); drives: "/";
// desktop directory: the XDG desktop folder; favourites: the home folder; programs:
// /usr/share/applications; recent: the XDG documents folder; send-to: the XDG download folder;
// start menu: $XDG_DATA_HOME/applications; start-up: $XDG_CONFIG_HOME/autostart; templates: the
// XDG templates folder. A place whose folder does not exist falls back to the home folder.
enum class TSelectFolder {
    sfDesktop,
    sfManual,
    sfDrives,
    sfDesktopDir,
    sfFavorites,
    sfPrograms,
    sfRecent,
    sfSendTo,
    sfStartMenu,
    sfStartup,
    sfTemplates
};
enum class TRootFolder {
    rfDesktop,
    rfManual,
    rfDrives,
    rfDesktopDir,
    rfFavorites,
    rfPrograms,
    rfRecent,
    rfSendTo,
    rfStartMenu,
    rfStartup,
    rfTemplates
};

// Options, as bits.
enum TSHBrowseOption : unsigned {
    sboDontGoBelowDomain = 1u << 0,
    sboReturnFSAncestors = 1u << 1,
    sboReturnOnlyFSDirs = 1u << 2,
    sboStatusTextAndShowPath = 1u << 3,
    sboStatusText = 1u << 4,
};

enum class TShowStyle { ssNone, ssCenterScreen, ssClient };

// What a selection handler may ask of the OK button.
enum class TOKButtonState { Leave = 0, Enable = 1, Disable = 2 };

// Called on every change of the selection with the new folder's path (code page 932). It may
// change the status text and the OK button.
using TSHBrowseEvent =
    std::function<void(const std::string& path, std::string& showText, TOKButtonState& ok)>;

struct ScreenRect {
    int left = 0, top = 0, width = 0, height = 0;
};

// The dialog while it is up: what the view draws.
struct FolderDialogState {
    std::string Caption;
    std::string RootPath;     // top of the tree
    std::string SelectedPath; // the selection; empty for none
    bool StatusVisible = false;
    std::string StatusText;
    bool OkEnabled = true;
    int Left = 0, Top = 0; // set by DialogShown for ssCenterScreen and ssClient
    bool Placed = false;
};

class TSHBrowseForFolderEx;

// Shows the dialog modally over the program's windows and returns once the user has chosen
// (true, with the chooser's dialog state holding the selection) or cancelled. While it is up
// it calls DialogShown once and DialogSelectionChanged for every selection.
class FolderDialogPort {
  public:
    virtual ~FolderDialogPort() = default;
    virtual bool runFolderDialog(TSHBrowseForFolderEx& chooser) = 0;
};

// Where the places are; the XDG user folders by default, replaceable in tests.
struct FolderPlaces {
    std::string home, desktop, documents, download, templates, dataHome, configHome;
    // The current user's folders from the environment and ~/.config/user-dirs.dirs.
    static FolderPlaces FromEnvironment();
};

class TSHBrowseForFolderEx final {
  public:
    explicit TSHBrowseForFolderEx(FolderDialogPort& dialog,
                                  FolderPlaces places = FolderPlaces::FromEnvironment());

    TSelectFolder SelectFolder = TSelectFolder::sfDrives;
    std::string SelectFolderName;
    std::string Caption;
    unsigned Options = sboReturnOnlyFSDirs;
    TSHBrowseEvent OnSelectionChanged;
    TRootFolder RootFolder = TRootFolder::rfDesktop;
    std::string RootFolderName;
    TShowStyle ShowStyle = TShowStyle::ssClient;

    // Results of the last Execute.
    std::string FolderName;
    std::string DisplayName;

    // Shows the dialog; true when the user confirmed a folder.
    bool Execute();

    // For the dialog: it is up (its size, the screen's work area, the owner's client origin).
    void DialogShown(ScreenRect workArea, ScreenSize dialogSize, ScreenPoint ownerOrigin);
    // For the dialog: the user selected `path` (empty when the item has no folder).
    void DialogSelectionChanged(const std::string& path);

    FolderDialogState Dialog;

    // The folder of a place (code page 932).
    std::string PlacePath(TSelectFolder place, const std::string& manualName) const;

    // Why the dialog cannot take `folder` when the user confirms it (code page 932, naming the
    // folder): code page 932 cannot write its path, or would read it back as another, or it
    // holds a line break or a tab, which no list record or settings line can hold. Empty when
    // it can be taken.
    static std::string RefusalOf(const std::filesystem::path& folder);

  private:
    void DoSelectionChanged(const std::string& path, std::string& showText, TOKButtonState& ok);
    void ApplyStatus(std::string showText, TOKButtonState ok);

    FolderDialogPort& dialog_;
    FolderPlaces places_;
    bool showPath_ = false;
};

} // namespace tobira
