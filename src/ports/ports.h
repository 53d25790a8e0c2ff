// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The ways the core reaches the world. The GUI target implements them with Qt; tests use
// recording fakes. Every text crossing a port is code page 932, as the core keeps it.

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tobira {

enum class Answer { Yes, No, Cancel };

// Plain message boxes with an OK button, Yes/No questions and Yes/No/Cancel warnings.
class MessagePort {
  public:
    virtual ~MessagePort() = default;
    virtual void showMessage(const std::string& text) = 0;
    virtual bool askYesNo(const std::string& text) = 0;
    // A warning with Yes, No and Cancel; closing the box counts as Cancel.
    virtual Answer askYesNoCancel(const std::string& text) = 0;
    // The system's warning sound, where a search finds nothing.
    virtual void beep() = 0;
};

struct FontChoice {
    std::string name; // family name, code page 932
    int size = 10;    // points
};

// File-open, folder and font choosers. An empty optional means the user cancelled.
class ChooserPort {
  public:
    virtual ~ChooserPort() = default;
    virtual std::optional<std::string> chooseOpenFile(const std::string& caption,
                                                      const std::string& initialFolder,
                                                      const std::string& filter) = 0;
    virtual std::optional<std::string> chooseFolder(const std::string& caption,
                                                    const std::string& initialFolder) = 0;
    virtual std::optional<FontChoice> chooseFont(const FontChoice& current) = 0;
};

// The hourglass. Calls nest; use BusyCursor below so that a failure restores it too.
class BusyCursorPort {
  public:
    virtual ~BusyCursorPort() = default;
    virtual void beginBusy() = 0;
    virtual void endBusy() = 0;

    // For a read of a user's file that can take long: runs `work` under the busy cursor on a
    // worker thread and returns when it is done, throwing what it threw. `work` touches only
    // its own data. Meanwhile the windows keep painting and nothing reaches the models: input
    // waits for the end, timer ticks are skipped as a busy program skips them, the devices'
    // notices wait. This default runs it on the calling thread.
    virtual void runBusy(const std::function<void()>& work);
};

class BusyCursor final {
  public:
    explicit BusyCursor(BusyCursorPort& port) : port_(port) { port_.beginBusy(); }
    ~BusyCursor() { port_.endBusy(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

  private:
    BusyCursorPort& port_;
};

inline void BusyCursorPort::runBusy(const std::function<void()>& work) {
    const BusyCursor busy(*this);
    work();
}

struct ScreenPoint {
    int x = 0;
    int y = 0;
};

struct ScreenSize {
    int width = 0;
    int height = 0;
};

// The part of the screen that windows may use (without panels and docks).
struct ScreenArea {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

class ScreenPort {
  public:
    virtual ~ScreenPort() = default;
    virtual ScreenSize screenSize() = 0;
    virtual ScreenPoint pointerPosition() = 0;
    virtual ScreenArea workArea() {
        const ScreenSize size = screenSize();
        return {0, 0, size.width, size.height};
    }
};

// Paints the main window now, before a device call that may take a while.
class RepaintPort {
  public:
    virtual ~RepaintPort() = default;
    virtual void repaintNow() = 0;
};

class ClockPort {
  public:
    virtual ~ClockPort() = default;
    virtual std::chrono::system_clock::time_point now() = 0;
};

// The program's one random generator. random(k) is uniform in 0..k-1, and 0 for k <= 0.
class RandomPort {
  public:
    virtual ~RandomPort() = default;
    virtual int random(int k) = 0;
};

// Starts an external program with arguments, never through a shell.
class ProcessPort {
  public:
    virtual ~ProcessPort() = default;
    virtual bool startDetached(const std::string& program,
                               const std::vector<std::string>& arguments) = 0;
};

// A task made once that any thread may ask the UI thread to run. Raising neither allocates nor
// blocks, so the audio thread may raise it under its locks; raises before the task runs run it
// once.
class UiWake {
  public:
    virtual ~UiWake() = default;
    virtual void raise() = 0;
};

// Runs tasks on the UI thread when any thread asks.
class UiPostPort {
  public:
    virtual ~UiPostPort() = default;
    // Made on the UI thread. The task never runs after the wake is destroyed.
    virtual std::unique_ptr<UiWake> makeWake(std::function<void()> task) = 0;
};

// Pixel widths of the main window's MIDI title line, in the font it is drawn with.
class TextWidthPort {
  public:
    virtual ~TextWidthPort() = default;
    virtual int titleTextWidth(const std::string& cp932) = 0;
    virtual int titleLabelWidth() = 0;
};

class FormModel;

// What only the windowing system can do with the program's windows.
class WindowPort {
  public:
    virtual ~WindowPort() = default;
    // Iconifies the whole application; restoring it shows the main window again.
    virtual void iconifyApplication() = 0;
    // Closes the main window, which ends the program.
    virtual void closeMainWindow() = 0;
    // Brings the main window to the front, with the keyboard focus.
    virtual void raiseMainWindow() = 0;
    // Shows the window modally: returns once it has been hidden again.
    virtual void showModal(FormModel& form) = 0;
};

// Everything above, handed to the models at start-up.
struct Ports {
    MessagePort& messages;
    ChooserPort& choosers;
    BusyCursorPort& busy;
    ScreenPort& screen;
    RepaintPort& repaint;
    ClockPort& clock;
    RandomPort& random;
    ProcessPort& processes;
    UiPostPort& uiPost;
    WindowPort& windows;
    TextWidthPort& textWidth;
};

} // namespace tobira
