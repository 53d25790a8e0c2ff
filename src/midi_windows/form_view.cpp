// SPDX-License-Identifier: GPL-3.0-or-later
#include "midi_windows/form_view.h"

#include "player/form_main.h"
#include "windows/form_msg.h"
#include "windows/form_reader.h"
#include "windows/form_setup.h"
#include "settings/ini_file.h"
#include "settings/settings_keys.h"

namespace tobira {
namespace {

ButtonState button(const char* caption, const char* utf8Hint) {
    ButtonState state;
    state.Caption = caption;
    state.Hint = Utf8ToCp932(utf8Hint);
    return state;
}

LabelState panel(const char* utf8Hint) {
    LabelState state;
    state.Font = colors::Black;
    state.Hint = Utf8ToCp932(utf8Hint);
    return state;
}

} // namespace

TFormView::TFormView(Ports ports, const DataPaths& paths)
    : FormModel("ＭＩＤＩ コントロール", 246, 265), AutoCloseIndicator(kCloseIndicatorWidth, 0),
      Page0(0, paths.List0Path, ports.messages, ports.choosers, ports.busy, *this),
      Page1(1, paths.List1Path, ports.messages, ports.choosers, ports.busy, *this),
      Search(paths.List0Path, paths.List1Path, paths.SettingsPath, ports.messages, ports.choosers,
             ports.busy, *this),
      Album(paths.Folder, ports.messages, ports.busy), ports_(ports) {
    SpeedButtonLst0.Caption = "List 0";
    SpeedButtonLst1.Caption = "List 1";
    SpeedButtonLst2.Caption = "2 List";
    SpeedButtonLst0.Down = true;
    SpeedButtonNor = button("Nor", "名前順に再生する");
    SpeedButtonNew = button("New", "新曲を優先して再生");
    SpeedButtonRnd = button("Rnd", "ランダムに再生");
    SpeedButtonNor.Down = true;
    PanelNumber = panel("再生中の曲番号");
    PanelNumberAll = panel("総曲数");
    SpeedButtonBak = button("", "前の曲に戻る");
    SpeedButtonBak.Caption = Utf8ToCp932("▲");
    SpeedButtonNxt = button("", "次の曲に移る");
    SpeedButtonNxt.Caption = Utf8ToCp932("▼");
    SpeedButtonSelect = button("Select", "指定された曲を再生する");
    SpeedButtonClose.Caption = "Close";
    SpeedButtonTxt = button("Txt", "ドキュメント（TXT）閲覧");
    SpeedButtonDoc = button("Doc", "ドキュメント（DOC）閲覧");
    SpeedButtonHed = button("Hed", "ドキュメント（HED）閲覧");
    SpeedButtonJump = button("List", "リストの該当データにジャンプする");
    SpeedButtonLyrics = button("Lyr", "歌詞を表示する");
    SpeedButtonParts = button("Prt", "パート表示を開く");
    // Nothing plays yet and nothing is selected.
    for (ButtonState* document :
         {&SpeedButtonTxt, &SpeedButtonDoc, &SpeedButtonHed, &SpeedButtonJump, &SpeedButtonLyrics,
          &SpeedButtonBak, &SpeedButtonNxt, &SpeedButtonSelect})
        document->Enabled = false;
    PanelClose.Hint = Utf8ToCp932("オートクローズインジケータ（クリックで一時停止）");
    ListFont.name = std::string(keys::FONTNAME.fallback);
}

MidiListSource TFormView::Source() const {
    if (SpeedButtonLst1.Down)
        return MidiListSource::List1;
    if (SpeedButtonLst2.Down)
        return MidiListSource::BothLists;
    return MidiListSource::List0;
}

MidiOrder TFormView::Order() const {
    if (SpeedButtonNew.Down)
        return MidiOrder::New;
    if (SpeedButtonRnd.Down)
        return MidiOrder::Rnd;
    return MidiOrder::Nor;
}

void TFormView::FormCreate() {
    FormCreate(IniSnapshot(peers().Main.Paths.SettingsPath));
}

void TFormView::FormCreate(const IniSnapshot& settings) {
    const int source = ReadSetting(settings, keys::LISTSELEC);
    if (source >= 0 && source <= 2) {
        SpeedButtonLst0.Down = source == 0;
        SpeedButtonLst1.Down = source == 1;
        SpeedButtonLst2.Down = source == 2;
    }
    const int order = ReadSetting(settings, keys::MODESELEC);
    if (order >= 0 && order <= 2) {
        SpeedButtonNor.Down = order == 0;
        SpeedButtonNew.Down = order == 1;
        SpeedButtonRnd.Down = order == 2;
    }
    Search.EditList0 = ReadSetting(settings, keys::OPENFOLD0);
    Search.EditList1 = ReadSetting(settings, keys::OPENFOLD1);
    ListFont.name = ReadSetting(settings, keys::FONTNAME);
    ListFont.size = ReadFontSize(settings);
    Width = ReadSetting(settings, keys::VIEWWIDTH);
    Height = ReadSetting(settings, keys::VIEWHEIGH);
    // The size rule applies as the size is set, before the window is placed.
    FormResize();
    const int left = ReadSetting(settings, keys::LPOSITION);
    const int top = ReadSetting(settings, keys::TPOSITION);
    const ScreenSize screen = ports_.screen.screenSize();
    if (left > 0 && left < screen.width - 100 && top > 0 && top < screen.height - 50) {
        Left = left;
        Top = top;
    } else {
        CentreOn(screen);
    }
}

void TFormView::ChooseSource(MidiListSource source) {
    SpeedButtonLst0.Down = source == MidiListSource::List0;
    SpeedButtonLst1.Down = source == MidiListSource::List1;
    SpeedButtonLst2.Down = source == MidiListSource::BothLists;
    SpeedButtonLst0Click();
}

void TFormView::ChooseOrder(MidiOrder order) {
    SpeedButtonNor.Down = order == MidiOrder::Nor;
    SpeedButtonNew.Down = order == MidiOrder::New;
    SpeedButtonRnd.Down = order == MidiOrder::Rnd;
    SpeedButtonLst0Click();
}

void TFormView::SpeedButtonLst0Click() {
    ShowModeLabel();
    if (MirrorModeButtons)
        MirrorModeButtons();
}

void TFormView::ShowModeLabel() {
    static constexpr const char* kOrders[] = {"NOR", "NEW", "RND"};
    peers().Main.LabelMidiMode.Caption = std::string(kOrders[static_cast<int>(Order())]) +
                                         std::to_string(static_cast<int>(Source()));
}

void TFormView::SpeedButtonBakClick() {
    peers().Main.SpeedButtonBAKClick();
}

void TFormView::SpeedButtonNxtClick() {
    peers().Main.SpeedButtonNXTClick();
}

void TFormView::SpeedButtonSelectClick() {
    if (ListBoxTitleItemIndex < 0 || ListBoxTitleItemIndex >= static_cast<int>(ListBoxTitle.size()))
        return;
    peers().Main.MakeNextToPlay(ListBoxTitleItemIndex);
}

void TFormView::SpeedButtonCloseClick() {
    FormClose();
}

void TFormView::FollowPlayer() {
    const TFormMain& main = peers().Main;
    const bool playing = main.IsMidiPlaying();
    const int entries = static_cast<int>(ListBoxTitle.size());
    SpeedButtonBak.Enabled = playing;
    SpeedButtonNxt.Enabled = playing && main.OrderPosition < entries - 1;
    SpeedButtonSelect.Enabled =
        !main.IsPlayIdle() && ListBoxTitleItemIndex >= 0 && ListBoxTitleItemIndex < entries;
}

void TFormView::ListBoxTitleClick(int index) {
    ListBoxTitleItemIndex =
        index >= 0 && index < static_cast<int>(ListBoxTitle.size()) ? index : -1;
    SpeedButtonJump.Enabled = ListBoxTitleItemIndex >= 0;
    FollowPlayer();
}

void TFormView::ListBoxTitleDblClick(int index) {
    ListBoxTitleClick(index);
    SpeedButtonSelectClick();
}

void TFormView::ClearPlayList() {
    ListBoxTitle.clear();
    ListBoxTitleItemIndex = -1;
    PanelNumber.Caption.clear();
    PanelNumberAll.Caption.clear();
}

} // namespace tobira
