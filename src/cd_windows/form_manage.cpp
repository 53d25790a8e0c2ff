// SPDX-License-Identifier: GPL-3.0-or-later
#include "cd_windows/form_manage.h"

#include "files/regular_file.h"
#include "cd_windows/form_list.h"
#include "cd_windows/form_pattern.h"
#include "player/form_main.h"
#include "cd_windows/pattern_display.h"
#include "cd_windows/pattern_file.h"
#include "text/list_collation.h"
#include "text/cp932_convert.h"

#include <stdexcept>
#include <system_error>

namespace tobira {
namespace {

constexpr std::size_t kDiscIdLength = 10;
constexpr const char* kUnreadable =
    "パターンファイル（ＴＯＢＩＲＡ．ＤＡＴ）がないか、または読み込みエラーです";

bool BelongsToDisc(const std::string& line, const std::string& discId) {
    return std::string_view(line).substr(0, kDiscIdLength) == discId;
}

} // namespace

TFormManage::TFormManage(Ports ports)
    : FormModel("ＰＡＴＴＥＲＮ ファイルの管理", 520, 400), ports_(ports) {
    SpeedButtonEDIT.Caption = Utf8ToCp932("修整");
    SpeedButtonDEL.Caption = Utf8ToCp932("削除");
    SpeedButtonEDIT.Enabled = false;
    SpeedButtonDEL.Enabled = false;
}

std::string TFormManage::LineTitle(const std::string& line) {
    const std::size_t stop = line.find('.');
    if (stop == std::string::npos)
        return {};
    return std::string(CutText(std::string_view(line).substr(stop + 1), kPatternTextLimit));
}

const std::string& TFormManage::discId() const {
    return list_->LabelCDID.Caption;
}

void TFormManage::Show() {
    if (Visible)
        return;
    FormModel::Show();
    FormShow();
}

void TFormManage::FormShow() {
    SpeedButtonEDIT.Enabled = false;
    SpeedButtonDEL.Enabled = false;
    SpeedButtonCDID.Caption = discId();
    ListBoxTitle = {};
    PanelTITLE.clear();
    clearEditField();
    ListBoxManage = {};
    try {
        std::optional<std::vector<std::string>> lines = ReadPatternLines(main_->Paths.PatternPath);
        if (!lines) {
            ports_.messages.showMessage(Utf8ToCp932(kUnreadable));
            return;
        }
        // The list keeps its lines sorted, in the program's one case-insensitive order.
        SortListLines(*lines);
        ListBoxManage.Items = std::move(*lines);
    } catch (const std::system_error& error) {
        ports_.messages.showMessage(Utf8ToCp932(kUnreadable) + FileFailureReason(error));
        return;
    }
    if (!ListBoxManage.Items.empty())
        fillTitleList();
}

void TFormManage::fillTitleList() {
    ListBoxTitle = {};
    for (const std::string& line : ListBoxManage.Items) {
        std::string title = LineTitle(line);
        if (!title.empty())
            ListBoxTitle.Items.push_back(std::move(title));
    }
    SortListLines(ListBoxTitle.Items);
}

void TFormManage::clearEditField() {
    EditManage.clear();
    EditManageColor = colors::White;
}

void TFormManage::ListBoxManageClick(int index) {
    if (index < 0 || index >= static_cast<int>(ListBoxManage.Items.size()))
        return;
    ListBoxManage.ItemIndex = index;
    const std::string& line = ListBoxManage.Items[static_cast<std::size_t>(index)];
    EditManageColor = BelongsToDisc(line, discId()) ? colors::Aqua : colors::Yellow;
    SpeedButtonEDIT.Enabled = true;
    SpeedButtonDEL.Enabled = true;
    EditManage = line;
    PanelTITLE = LineTitle(line);
    if (PanelTITLE.empty())
        PanelTITLE = Utf8ToCp932("パターン名はありません");
}

void TFormManage::SpeedButtonCDIDClick() {
    ListBoxManage.ItemIndex = -1;
    const std::vector<std::string>& items = ListBoxManage.Items;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (BelongsToDisc(items[i], discId())) {
            // Only the selection moves; a click on the line loads it.
            ListBoxManage.ItemIndex = static_cast<int>(i);
            return;
        }
    }
    PanelTITLE = Utf8ToCp932("このＣＤは未登録です");
    clearEditField();
    SpeedButtonEDIT.Enabled = false;
    SpeedButtonDEL.Enabled = false;
    ports_.messages.beep();
}

void TFormManage::ListBoxTitleClick(int index) {
    if (index < 0 || index >= static_cast<int>(ListBoxTitle.Items.size()))
        return;
    ListBoxTitle.ItemIndex = index;
    const std::string& title = ListBoxTitle.Items[static_cast<std::size_t>(index)];
    const std::vector<std::string>& items = ListBoxManage.Items;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (items[i].find('.') != std::string::npos && LineTitle(items[i]) == title) {
            ListBoxManage.ItemIndex = static_cast<int>(i);
            return;
        }
    }
}

void TFormManage::EditManageChange(const TypedText& text) {
    TakeTypedText(EditManage, text, ports_.messages);
}

void TFormManage::SpeedButtonDELClick() {
    const int index = ListBoxManage.ItemIndex;
    if (index < 0 || index >= static_cast<int>(ListBoxManage.Items.size()))
        return;
    ListBoxManage.Items.erase(ListBoxManage.Items.begin() + index);
    saveChange(
        "パターンデータの削除結果を保存しました",
        "パターンデータの削除結果をパターンファイル（ＴＯＢＩＲＡ．ＤＡＴ）に保存できませんでした");
}

void TFormManage::SpeedButtonEDITClick() {
    const int index = ListBoxManage.ItemIndex;
    if (index < 0 || index >= static_cast<int>(ListBoxManage.Items.size()))
        return;
    // The line keeps its place even when its new text would sort elsewhere.
    ListBoxManage.Items[static_cast<std::size_t>(index)] = EditManage;
    saveChange(
        "パターンデータの修整結果を保存しました",
        "パターンデータの修整結果をパターンファイル（ＴＯＢＩＲＡ．ＤＡＴ）に保存できませんでした");
}

void TFormManage::saveChange(const char* savedUtf8, const char* failedUtf8) {
    ListBoxManage.ItemIndex = -1;
    clearEditField();
    PanelTITLE.clear();
    ports_.messages.showMessage(Utf8ToCp932(saveList() ? savedUtf8 : failedUtf8));
}

bool TFormManage::saveList() {
    TFormMain& main = *main_;
    try {
        WritePatternLines(main.Paths.PatternPath, ListBoxManage.Items);
    } catch (const std::system_error&) {
        return false;
    } catch (const std::invalid_argument&) {
        // A line break in the edited text would split the record in two.
        return false;
    }
    TFormList& list = *list_;
    ReadPatternFile(main.Paths.PatternPath, main.Patterns,
                    {list.SpeedButtonCD, selector_->SpeedButton, list.LabelCDID}, ports_.messages);
    fillTitleList();
    SpeedButtonEDIT.Enabled = false;
    SpeedButtonDEL.Enabled = false;
    return true;
}

} // namespace tobira
