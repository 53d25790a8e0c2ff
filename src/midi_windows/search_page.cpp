// SPDX-License-Identifier: GPL-3.0-or-later
#include "midi_windows/search_page.h"

#include "files/regular_file.h"
#include "text/list_collation.h"
#include "midi_windows/list_messages.h"
#include "midi_windows/list_page.h"
#include "midi_windows/midi_pages_host.h"
#include "midi_windows/song_record.h"
#include "settings/ini_file.h"
#include "settings/settings_keys.h"
#include "text/cp932_convert.h"
#include "text/search.h"
#include "text/trim.h"

#include <optional>
#include <filesystem>
#include <system_error>

namespace tobira {
namespace {

constexpr int kList0Page = 1; // TFormView's page numbers
constexpr int kList1Page = 2;

void SetMode(LabelState& panel, bool strict) {
    panel.Font = strict ? colors::Blue : colors::Black;
    panel.Caption = Utf8ToCp932(strict ? "厳密検索モード" : "通常検索モード");
    panel.Hint = Utf8ToCp932(strict ? "全角、半角、大文字、小文字を区別（クリックで切替）"
                                    : "全角、半角、大文字、小文字を同一視（クリックで切替）");
}

bool FileExists(const std::string& cp932Path) {
    std::error_code error;
    return std::filesystem::is_regular_file(PathFromCp932(cp932Path), error);
}

// The composer of a title "… by Name …": the word after the first "by ".
std::string ComposerOf(std::string_view line) {
    const std::string_view title = line.substr(0, line.find('\t'));
    const std::size_t by = title.find("by ");
    if (by == std::string_view::npos)
        return {};
    std::string_view name = title.substr(by + 3);
    return std::string(name.substr(0, name.find(' ')));
}

} // namespace

SearchPage::SearchPage(std::string list0Path, std::string list1Path, std::string settingsPath,
                       MessagePort& messages, ChooserPort& choosers, BusyCursorPort& busy,
                       MidiPagesHost& host)
    : listPaths_{std::move(list0Path), std::move(list1Path)},
      settingsPath_(std::move(settingsPath)), messages_(messages), choosers_(choosers), busy_(busy),
      host_(host) {
    SetMode(PanelMode, false);
    ButtonSearch = MakeButton("検索", "リストを連続検索できます");
    ButtonClear = MakeButton("クリア", "結果リストをクリアします");
    ButtonAll = MakeButton("選択", "すべてのデータを選択します", false);
    ButtonMon = MakeButton("試聴", "選択された（複数可）データを再生します", false);
    ButtonJump = MakeButton("List", "リストの該当データにジャンプする", false);
    BitBtnCheck = MakeButton("確認", "プレイリストとＭＩＤＩファイルを照合する");
    BitBtnAddA = MakeButton("Album", "選択曲をアルバムに追加", false);
    ButtonRef = MakeButton("参照", "フォルダ選択ダイアログを開きます");
    PanelMsg.Caption = "KANADE";
    PanelMsg.Hint = Utf8ToCp932("クリックで作者のメッセージ");
}

void SearchPage::Activate() {
    ButtonMon.Enabled = false;
    host_.Page(0).LoadListPage();
    host_.Page(1).LoadListPage();
    ComboBoxKeyWordRequests.focus();
    BuildKeywordList();
}

void SearchPage::BuildKeywordList() {
    ComboBoxKeyWordItems.clear();
    std::vector<std::string> names;
    for (int list : {0, 1})
        for (const std::string& line : host_.Page(list).ListBoxTmp)
            if (std::string name = ComposerOf(line); !name.empty())
                names.push_back(std::move(name));
    if (names.empty())
        return;
    SortListLines(names);
    ComboBoxKeyWordItems.push_back(names.front());
    for (std::size_t i = 1; i < names.size(); ++i)
        if (TrimSpaces(names[i]) != TrimSpaces(names[i - 1]))
            ComboBoxKeyWordItems.push_back(names[i]);
}

template <typename Each> void SearchPage::ForEachList(Each&& each) {
    bool present[2] = {false, false};
    std::optional<std::string> unreadable[2]; // the reason, for a list that cannot be read
    // Lists of a million songs take a while to read: on a worker. The work captures what it
    // reads, not `this`: GCC 12's sanitizer build gets a lambda in a lambda reaching a member
    // of `this` wrong.
    busy_.runBusy([&snapshots = snapshots_, &paths = listPaths_, &present, &unreadable] {
        for (int list : {0, 1}) {
            try {
                present[list] = snapshots[list].Refresh(paths[list]);
            } catch (const std::system_error& error) {
                unreadable[list] = FileFailureReason(error);
            }
        }
    });
    for (int list : {0, 1}) {
        if (unreadable[list])
            messages_.showMessage(
                ListUnreadableMessage(list == 0 ? MidiListSource::List0 : MidiListSource::List1) +
                *unreadable[list]);
        else if (present[list])
            each(static_cast<char>('0' + list), snapshots_[list]);
    }
}

void SearchPage::ButtonSearchClick() {
    ButtonMon.Enabled = false;
    int total = 0;
    {
        BusyCursor busy(busy_);
        ForEachList([&](char digit, ListSnapshot& list) { total += SearchList(digit, list); });
    }
    if (total <= 0) {
        messages_.showMessage(Utf8ToCp932("検索語を含むＭＩＤＩデータはありませんでした"));
        return;
    }
    ListBoxSearchColor = ResultColor::Window;
    ButtonAll.Enabled = true;
}

int SearchPage::SearchList(char digit, ListSnapshot& list) {
    if (ComboBoxKeyWord.empty())
        return 0;
    const std::string prefix = std::string(1, digit) + ": ";
    const std::vector<std::string>& lines = list.Lines();
    int found = 0;
    auto add = [&](std::size_t i) {
        ListBoxSearch.push_back(prefix + lines[i]);
        ListBoxSearchSelected.push_back(false);
        ++found;
    };
    if (IsStrictMode()) {
        for (std::size_t i = 0; i < lines.size(); ++i)
            if (ContainsAt(ComboBoxKeyWord, lines[i]))
                add(i);
        return found;
    }
    for (const std::size_t i :
         LinesContaining(NormaliseForLooseSearch(ComboBoxKeyWord), list.Normalised()))
        add(i);
    return found;
}

void SearchPage::PanelModeClick() {
    SetMode(PanelMode, !IsStrictMode());
}

void SearchPage::ListBoxSearchClick(const std::vector<bool>& selected) {
    ListBoxSearchSelected = selected;
    ListBoxSearchSelected.resize(ListBoxSearch.size(), false);
    ButtonMon.Enabled = true;
    FollowSelection();
}

void SearchPage::ButtonAllClick() {
    ListBoxSearchSelected.assign(ListBoxSearch.size(), true);
    ButtonMon.Enabled = true;
    FollowSelection();
}

void SearchPage::ButtonClearClick() {
    ComboBoxKeyWord.clear();
    ComboBoxKeyWordRequests.focus();
    ListBoxSearch.clear();
    ListBoxSearchSelected.clear();
    ListBoxSearchColor = ResultColor::ButtonFace;
    ButtonMon.Enabled = false;
    ButtonAll.Enabled = false;
    FollowSelection();
}

void SearchPage::FollowSelection() {
    // Both act on the selected results alone.
    const bool any = !SelectedResults().empty();
    ButtonJump.Enabled = any;
    BitBtnAddA.Enabled = any;
}

std::vector<std::size_t> SearchPage::SelectedResults() const {
    std::vector<std::size_t> selected;
    for (std::size_t i = 0; i < ListBoxSearch.size() && i < ListBoxSearchSelected.size(); ++i)
        if (ListBoxSearchSelected[i])
            selected.push_back(i);
    return selected;
}

void SearchPage::ButtonMonClick() {
    std::vector<std::string> lines;
    for (std::size_t i : SelectedResults())
        lines.push_back(ListBoxSearch[i].substr(3));
    host_.PlayLines(lines, true);
}

void SearchPage::BitBtnCheckClick() {
    ButtonMon.Enabled = false;
    ListBoxSearch.clear();
    ListBoxSearchSelected.clear();
    FollowSelection();
    int total = 0;
    {
        BusyCursor busy(busy_);
        ForEachList([&](char digit, ListSnapshot& list) {
            total += FindMissingFiles(digit, list.Lines());
        });
    }
    ListBoxSearchColor = total <= 0 ? ResultColor::ButtonFace : ResultColor::Yellow;
    messages_.showMessage(Utf8ToCp932(
        total <= 0 ? "プレイリストのＭＩＤＩファイルはすべて存在しています"
                   : "プレイリストのＭＩＤＩファイルの中に存在していないものがありました．"
                     "Ｌｉｓｔボタンのクリックで該当データへジャンプします"));
}

int SearchPage::FindMissingFiles(char digit, const std::vector<std::string>& lines) {
    int missing = 0;
    for (const std::string& line : lines) {
        if (FileExists(SplitListLine(line).Path))
            continue;
        ListBoxSearch.push_back(std::string(1, digit) + ": " + line);
        ListBoxSearchSelected.push_back(false);
        ++missing;
    }
    return missing;
}

void SearchPage::ButtonJumpClick() {
    const auto selected = SelectedResults();
    if (selected.empty())
        return;
    const std::string& result = ListBoxSearch[selected.front()];
    const int list = result[0] == '1' ? 1 : 0;
    const std::string title = SplitListLine(std::string_view(result).substr(3)).Title;
    host_.ShowPage(list == 0 ? kList0Page : kList1Page);
    ListPage& page = host_.Page(list);
    for (std::size_t i = 0; i < page.ListBoxTitle.size(); ++i)
        if (page.ListBoxTitle[i] == title) {
            page.ShowListEntry(static_cast<int>(i));
            return;
        }
}

void SearchPage::BitBtnAddAClick() {
    if (SelectedResults().empty())
        return;
    std::vector<std::string> lines;
    // The whole line: cutting it would cut the song's path.
    for (std::size_t i : SelectedResults())
        lines.push_back(ListBoxSearch[i].substr(3));
    host_.AddToAlbum(lines);
}

void SearchPage::PanelMsgClick() {
    host_.ShowAuthorMessage();
}

void SearchPage::ComboBoxKeyWordClick() {
    ComboBoxKeyWordRequests.selectAll();
}

void SearchPage::EditList0Click() {
    EditList0Requests.selectAll();
    LabelFocus = "0";
}

void SearchPage::EditList1Click() {
    EditList1Requests.selectAll();
    LabelFocus = "1";
}

void SearchPage::ButtonRefClick() {
    const auto folder =
        choosers_.chooseFolder(Utf8ToCp932("「自動追加」時、最初に開くフォルダを選択してください"),
                               LabelFocus == "1" ? EditList1 : EditList0);
    if (!folder || LabelFocus.empty())
        return;
    (LabelFocus == "1" ? EditList1 : EditList0) = *folder;
    SaveOpenFolders();
}

void SearchPage::SaveOpenFolders() {
    IniBatch file(settingsPath_);
    try {
        WriteSetting(file, keys::OPENFOLD0, EditList0);
        WriteSetting(file, keys::OPENFOLD1, EditList1);
        file.commit();
    } catch (const SettingsWriteError& error) {
        messages_.showMessage(error.what());
    }
}

} // namespace tobira
