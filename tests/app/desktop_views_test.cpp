// SPDX-License-Identifier: GPL-3.0-or-later
// Every window as the program builds it, under the program's style and fonts: each button looks
// as enabled or disabled as its model says, every caption fits its control, every control has a
// name a screen reader can say, and the lists and the main window follow the keyboard. Run at
// QT_SCALE_FACTOR 1 and 2 (two CTest entries).
#include "app/form_set.h"
#include "app/qt/main_window_keys.h"
#include "app/qt/qt_translations.h"
#include "app/qt/stable_palette_style.h"
#include "cd_windows/views/form_list_widget.h"
#include "cd_windows/views/form_manage_widget.h"
#include "cd_windows/views/form_pattern_widget.h"
#include "controls/mixer_ctrl.h"
#include "desktop/player_remote.h"
#include "forms/mouse_button.h"
#include "forms/views/click_label.h"
#include "forms/views/picture_button.h"
#include "forms/views/view_hub.h"
#include "forms/views/view_state.h"
#include "media/audio_engine.h"
#include "midi_windows/views/form_lyrics_widget.h"
#include "midi_windows/views/form_view_widget.h"
#include "player/views/form_main_widget.h"
#include "player/views/form_mode_widget.h"
#include "support/fake_media_device.h"
#include "support/fake_ports.h"
#include "support/temp_dir.h"
#include "text/cp932_convert.h"
#include "windows/views/form_midi_widget.h"
#include "windows/views/form_msg_widget.h"
#include "windows/views/form_reader_widget.h"
#include "windows/views/form_setup_widget.h"
#include "forms/views/worker_wait.h"

#include <QAccessible>
#include <QApplication>
#include <QAbstractSlider>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSet>
#include <QStyleOptionTab>
#include <QTabBar>
#include <QTest>

#include <fstream>
#include <functional>

using namespace tobira;

namespace {

struct World {
    testing::TempDir folder;
    testing::FakePorts fakes;
    testing::FakeMediaDevice cd, midi, wave;
    AudioEngine engine;
    TMixerCtrl mixer{&engine};
    FormSet forms{fakes.ports(), DataPaths::InFolder(folder.path()), MediaDevices{cd, midi, wave},
                  mixer};
    WorkerWait workerWait;
    ViewHub hub{workerWait};
    FormMainWidget main{forms.FormMain, hub};
    FormSetUpWidget setup{forms.FormSetUp, mixer, hub};
    FormListWidget list{forms.FormList, forms.FormMain.ShowHints, hub};
    FormManageWidget manage{forms.FormManage, hub};
    FormMsgWidget msg{forms.FormMsg, hub};
    FormPatternWidget pattern{forms.FormPattern, forms.FormMain.ShowHints, hub};
    FormModeWidget mode{forms.FormMode, hub};
    FormViewWidget view{forms.FormView, hub};
    FormMidiWidget selector{forms.FormMidi, hub};
    FormReaderWidget reader{forms.FormReader, hub};
    FormLyricsWidget lyrics{forms.FormLyrics, hub};

    World() {
        std::ofstream(folder / "GAKUFU.DT0", std::ios::binary)
            << "!1 A\t/m/a.mid\t+0\t1\r\nB\t/m/b.mid\t+0\t1\r\nC\t/m/c.mid\t+0\t1\r\n";
        mixer.CreateWnd();
        forms.CreateAll();
        forms.FormMain.Show();
        refresh();
    }
    void refresh() {
        hub.refreshAll();
        QApplication::processEvents();
    }
    std::vector<FormWidget*> windows() {
        return {&main, &setup, &list, &manage, &msg, &pattern, &mode, &view, &selector, &reader};
    }
    // Runs `check` on every window shown, and on each page of the control window.
    void forEachScene(const std::function<void(QWidget&)>& check) {
        for (FormWidget* window : windows()) {
            window->model().Show();
            refresh();
            const bool control = window == &view;
            for (int page = 0; page < (control ? 5 : 1); ++page) {
                for (int inner = 0; inner < (control && page == 4 ? 2 : 1); ++inner) {
                    if (control) {
                        forms.FormView.PageIndex = page;
                        forms.FormView.Album.InnerPage = inner;
                        refresh();
                    }
                    check(*window);
                }
            }
            if (window != &main)
                window->model().Hide();
            refresh();
        }
    }
};

QString Plain(QString text) {
    return text.remove(QLatin1Char('&'));
}

// Glyphs that reach past their advance (a dakuten at the end) count with their ink.
int TextWidth(const QFontMetrics& metrics, const QString& text) {
    int widest = 0;
    for (const QString& line : Plain(text).split(QLatin1Char('\n')))
        widest = std::max(
            {widest, metrics.horizontalAdvance(line), metrics.boundingRect(line).right() + 1});
    return widest;
}

// Where a tab's caption must stay: the style draws the tab's left edge at its first pixel and
// its right edge three pixels inside; a pixel of room beside each (measured on tabs as drawn).
constexpr int kTabFrameLeft = 2;
constexpr int kTabFrameRight = 4;

// The room a control leaves its caption, by the style's measures.
int TextRoom(const QWidget& widget) {
    const QStyle* style = widget.style();
    if (qobject_cast<const QCheckBox*>(&widget))
        return widget.width() - style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, &widget) -
               style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, &widget);
    if (qobject_cast<const QRadioButton*>(&widget))
        return widget.width() -
               style->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth, nullptr, &widget) -
               style->pixelMetric(QStyle::PM_RadioButtonLabelSpacing, nullptr, &widget);
    if (const auto* label = qobject_cast<const QLabel*>(&widget))
        return label->contentsRect().width() - 2 * label->margin() - std::max(0, label->indent());
    if (const auto* group = qobject_cast<const QGroupBox*>(&widget))
        return group->width() - 16;
    return widget.width() - 2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, &widget);
}

// "name: text needs n of m pixels" for each caption of `window` that does not fit.
QStringList CutCaptions(QWidget& window) {
    QStringList cut;
    auto note = [&](const QWidget& w, const QString& text, int need, int room) {
        if (need > room)
            cut << QStringLiteral("%1 \"%2\": %3 of %4 px")
                       .arg(w.objectName(), text)
                       .arg(need)
                       .arg(room);
    };
    for (QWidget* w : window.findChildren<QWidget*>()) {
        if (!w->isVisible())
            continue;
        // A control reaching out of its page or group is cut by it, whatever its text. (A
        // window may keep controls beyond its edge until it grows to show them.)
        if ((qobject_cast<QAbstractButton*>(w) || qobject_cast<QLabel*>(w)) && !w->isWindow() &&
            !w->parentWidget()->isWindow() && !w->parentWidget()->rect().contains(w->geometry()))
            cut << QStringLiteral("%1 outside its parent").arg(w->objectName());
        if (auto* label = qobject_cast<QLabel*>(w);
            label && !label->wordWrap() && !label->text().isEmpty() &&
            !(qobject_cast<ClickLabel*>(label) && static_cast<ClickLabel*>(label)->painter))
            note(*label, label->text(), TextWidth(label->fontMetrics(), label->text()),
                 TextRoom(*label));
        if (auto* button = qobject_cast<QAbstractButton*>(w); button && !button->text().isEmpty())
            note(*button, button->text(), TextWidth(button->fontMetrics(), button->text()),
                 TextRoom(*button));
        if (auto* group = qobject_cast<QGroupBox*>(w))
            note(*group, group->title(), TextWidth(group->fontMetrics(), group->title()),
                 TextRoom(*group));
        if (auto* tabs = qobject_cast<QTabBar*>(w)) {
            for (int i = 0; i < tabs->count(); ++i) {
                QStyleOptionTab option;
                option.initFrom(tabs);
                option.rect = tabs->tabRect(i);
                option.text = tabs->tabText(i);
                option.shape = tabs->shape();
                const QRect text =
                    tabs->style()->subElementRect(QStyle::SE_TabBarTabText, &option, tabs);
                note(*tabs, option.text, TextWidth(tabs->fontMetrics(), option.text),
                     tabs->rect().contains(option.rect) ? text.width() : -1);
                // The caption is drawn centred in the tab; its letters, not the spaces around
                // them, must keep clear of the tab's edges.
                const QFontMetrics metrics = tabs->fontMetrics();
                const QString caption = Plain(option.text);
                const QString letters = caption.trimmed();
                const int lead = metrics.horizontalAdvance(
                    caption.left(static_cast<int>(caption.indexOf(letters))));
                const int start = option.rect.left() +
                                  (option.rect.width() - metrics.horizontalAdvance(caption)) / 2 +
                                  lead;
                const QRect ink = metrics.boundingRect(letters).translated(start, 0);
                const QRect inside = option.rect.adjusted(kTabFrameLeft, 0, -kTabFrameRight, 0);
                if (ink.left() < inside.left() || ink.right() > inside.right())
                    cut << QStringLiteral("%1 \"%2\": letters %3..%4 of %5..%6")
                               .arg(tabs->objectName(), option.text)
                               .arg(ink.left())
                               .arg(ink.right())
                               .arg(inside.left())
                               .arg(inside.right());
            }
        }
    }
    return cut;
}

} // namespace

class DesktopViewsTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        // As the program starts: its style, and IPA Gothic for the stored list font.
        QApplication::setStyle(new StablePaletteStyle);
        QFont::insertSubstitution(QStringLiteral("ＭＳ ゴシック"), QStringLiteral("IPAGothic"));
    }

    // Each button is walked through both states by its model; the widget follows the model and
    // the two looks differ, so neither a grey button that acts nor a live-looking dead one is
    // left.
    void everyButtonLooksAsEnabledAsItsModelSays() {
        World w;
        QSet<QAbstractButton*> walked;
        w.forEachScene([&](QWidget& window) {
            for (QAbstractButton* button : window.findChildren<QAbstractButton*>()) {
                auto* state = const_cast<ButtonState*>(ModelStateOf(button));
                if (!state || !button->isVisible() || walked.contains(button))
                    continue;
                walked.insert(button);
                const bool was = state->Enabled;
                QImage look[2];
                for (const bool enabled : {true, false}) {
                    state->Enabled = enabled;
                    w.refresh();
                    QCOMPARE(button->isEnabled(), enabled);
                    look[enabled] = button->grab().toImage();
                }
                state->Enabled = was;
                w.refresh();
                // A blank button looks blank either way; a picture button draws its state.
                if (!button->text().isEmpty() || qobject_cast<PictureButton*>(button))
                    QVERIFY2(look[0] != look[1],
                             qPrintable(button->objectName() + QStringLiteral(" \"") +
                                        button->text() + QStringLiteral("\" looks the same")));
            }
        });
        QVERIFY2(walked.size() > 100, qPrintable(QString::number(walked.size())));
    }

    void everyCaptionFitsAndEveryControlHasAName() {
        World w;
        QStringList faults;
        w.forEachScene([&](QWidget& window) {
            faults << CutCaptions(window);
            for (QWidget* widget : window.findChildren<QWidget*>()) {
                const auto* label = qobject_cast<ClickLabel*>(widget);
                const bool picture =
                    (label && label->painter) || (qobject_cast<QLabel*>(widget) &&
                                                  !static_cast<QLabel*>(widget)->pixmap().isNull());
                const bool field =
                    qobject_cast<QAbstractItemView*>(widget) || qobject_cast<QLineEdit*>(widget) ||
                    qobject_cast<QComboBox*>(widget) || qobject_cast<QPlainTextEdit*>(widget);
                if (qobject_cast<QComboBox*>(widget->parentWidget()))
                    continue; // a combo box's own editor and list: the box names them
                if (!widget->isVisible() ||
                    !(qobject_cast<QAbstractButton*>(widget) || picture || field))
                    continue;
                QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
                if (!accessible || accessible->text(QAccessible::Name).isEmpty())
                    faults << QStringLiteral("%1 %2 in %3 has no name")
                                  .arg(QLatin1String(widget->metaObject()->className()),
                                       widget->objectName(), window.objectName());
            }
        });
        faults.removeDuplicates();
        for (const QString& fault : faults)
            qWarning("%s", qPrintable(fault));
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
    }

    // The main window is a named window; its volume bar a value with its level and mute, its
    // lamps named by what they stand for, and nothing hidden is reported as showing.
    void screenReadersHearTheMainWindowByMeaning() {
        World w;
        QAccessibleInterface* window = QAccessible::queryAccessibleInterface(&w.main);
        QCOMPARE(window->text(QAccessible::Name), QStringLiteral("TOBIRA"));
        QCOMPARE(window->role(), QAccessible::Window);

        QAccessibleInterface* volume = QAccessible::queryAccessibleInterface(
            w.main.findChild<QLabel*>(QStringLiteral("LabelVol")));
        QVERIFY(volume->valueInterface());
        QCOMPARE(volume->text(QAccessible::Name), QStringLiteral("音量"));
        QCOMPARE(volume->valueInterface()->currentValue().toInt(), w.forms.FormMain.VolumeLevel());
        QCOMPARE(volume->valueInterface()->maximumValue().toInt(), 10);
        w.forms.FormMain.SpeedButtonSTOPMouseDown(MouseButton::Right); // mute
        w.refresh();
        QVERIFY2(volume->text(QAccessible::Value).contains(QStringLiteral("ミュート")),
                 qPrintable(volume->text(QAccessible::Value)));
        QVERIFY(QAccessible::queryAccessibleInterface(
                    w.main.findChild<QLabel*>(QStringLiteral("LabelVolBak")))
                    ->state()
                    .invisible);

        for (const char* lamp : {"LabelBAK", "LabelNXT", "LabelPLAY", "LabelPAUSE", "LabelSTOP"}) {
            const QString name = QAccessible::queryAccessibleInterface(
                                     w.main.findChild<QLabel*>(QString::fromLatin1(lamp)))
                                     ->text(QAccessible::Name);
            QVERIFY2(name.contains(QStringLiteral("ランプ")), qPrintable(name));
        }
        for (FormWidget* hidden : w.windows())
            if (!hidden->isVisible())
                QVERIFY(QAccessible::queryAccessibleInterface(hidden)->state().invisible);
    }

    // A key is the click (or double click) it stands for, and the next repaint keeps its row.
    void listsAndTheMainWindowFollowTheKeyboard() {
        World w;
        PlayerRemote remote(w.forms.FormMain, w.forms.FormList, w.forms.FormView, w.fakes.windows);
        new MainWindowKeys(w.main, w.forms.FormMain, remote, w.hub);
        TFormView& view = w.forms.FormView;
        view.FormShow();
        view.PageControl1Change(1);
        w.refresh();
        auto* titles = w.view.findChild<QListWidget*>(QStringLiteral("ListBoxTitle0"));
        QTest::keyClick(titles, Qt::Key_Down);
        QTest::keyClick(titles, Qt::Key_Down);
        QCOMPARE(view.Page0.ItemIndex, 1);
        QCOMPARE(view.Page0.EditTitle, std::string("B"));
        QVERIFY(view.Page0.SpeedButtonDel.Enabled);
        QTest::keyClick(titles, Qt::Key_End);
        w.refresh();
        QCOMPARE(titles->currentRow(), 2);
        QCOMPARE(view.Page0.EditPath, std::string("/m/c.mid"));
        QTest::keyClick(titles, Qt::Key_Return); // the double click: listen to the song
        QCOMPARE(view.ListBoxTitle.size(), std::size_t{1});

        const int level = w.forms.FormMain.VolumeLevel();
        QTest::keyClick(&w.main, Qt::Key_Plus);
        QCOMPARE(w.forms.FormMain.VolumeLevel(), level + 1);
        QTest::keyClick(&w.main, Qt::Key_M);
        QVERIFY(w.forms.FormMain.IsMuted());
    }

    // Tab reaches every control of every window that takes input, and Escape cancels each
    // window shown modally as its close box does.
    void tabReachesEveryControlAndEscapeCancelsModalWindows() {
        World w;
        QStringList missed;
        for (FormWidget* window : w.windows()) {
            if (window == &w.main || window == &w.mode)
                continue; // worked by its own keys; an announcement without controls
            window->model().Show();
            w.refresh();
            window->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(window));
            QSet<QWidget*> reached;
            for (int step = 0; step < 200; ++step) {
                QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : window,
                                Qt::Key_Tab);
                reached.insert(QApplication::focusWidget());
            }
            for (QWidget* control : window->findChildren<QWidget*>()) {
                const bool takesInput = qobject_cast<QAbstractButton*>(control) ||
                                        qobject_cast<QAbstractItemView*>(control) ||
                                        qobject_cast<QLineEdit*>(control) ||
                                        qobject_cast<QComboBox*>(control) ||
                                        qobject_cast<QAbstractSlider*>(control) ||
                                        qobject_cast<QPlainTextEdit*>(control);
                // A combo box's own editor and a scroll area's bars come with their owner.
                if (!takesInput || !control->isVisible() || !control->isEnabled() ||
                    qobject_cast<QComboBox*>(control->parentWidget()) ||
                    qobject_cast<QAbstractScrollArea*>(control->parentWidget()->parentWidget()))
                    continue;
                // Tab reaches a group of radio buttons once; the arrows go on within it.
                if (auto* radio = qobject_cast<QRadioButton*>(control);
                    radio && radio->autoExclusive()) {
                    const auto group = radio->parentWidget()->findChildren<QRadioButton*>();
                    if (std::any_of(group.begin(), group.end(),
                                    [&](QRadioButton* r) { return reached.contains(r); }))
                        continue;
                }
                if (!reached.contains(control))
                    missed << QStringLiteral("%1 %2 in %3")
                                  .arg(QLatin1String(control->metaObject()->className()),
                                       control->objectName(),
                                       QLatin1String(window->metaObject()->className()));
            }
            window->model().Hide();
            w.refresh();
        }
        QVERIFY2(missed.isEmpty(), qPrintable(missed.join(QLatin1Char('\n'))));

        for (FormWidget* dialog :
             {static_cast<FormWidget*>(&w.pattern), static_cast<FormWidget*>(&w.selector)}) {
            dialog->setWindowModality(Qt::ApplicationModal);
            dialog->model().Show();
            w.refresh();
            dialog->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(dialog));
            QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : dialog,
                            Qt::Key_Escape);
            w.refresh();
            QVERIFY2(!dialog->model().Visible && !dialog->isVisible(),
                     dialog->metaObject()->className());
            dialog->setWindowModality(Qt::NonModal);
        }
    }

    // A button whose click would do nothing looks disabled: the search page's "List" and
    // "Album" once クリア has emptied the results, the list page's "Album" with no song chosen,
    // and Select, ▲ and ▼ while nothing plays.
    void buttonsThatWouldDoNothingLookDisabled() {
        World w;
        TFormView& view = w.forms.FormView;
        view.FormShow();
        auto shown = [&](const char* name) -> QAbstractButton* {
            for (QAbstractButton* b :
                 w.view.findChildren<QAbstractButton*>(QString::fromLatin1(name)))
                if (b->isVisible())
                    return b;
            return nullptr;
        };
        auto idle = [&](const char* name) {
            w.refresh();
            QAbstractButton* button = shown(name);
            return button && !button->isEnabled();
        };
        view.PageControl1Change(TFormView::kPlayPage);
        for (const char* name : {"SpeedButtonSelect", "SpeedButtonBak", "SpeedButtonNxt"})
            QVERIFY2(idle(name), name);
        view.ListBoxTitle.append("+0 A", "/m/a.mid", "+0", "1");
        view.ListBoxTitleClick(0);
        QVERIFY2(idle("SpeedButtonSelect"), "a list that does not play");

        view.PageControl1Change(TFormView::kList0Page);
        QVERIFY(idle("SpeedButtonAddA0"));
        view.Page0.ListBoxTitleClick(0);
        QVERIFY(!idle("SpeedButtonAddA0"));

        view.PageControl1Change(TFormView::kSearchPage);
        view.Search.ComboBoxKeyWord = "A";
        view.Search.ButtonSearchClick();
        view.Search.ListBoxSearchClick({true});
        QVERIFY(!idle("ButtonJump") && !idle("BitBtnAddA"));
        QTest::mouseClick(shown("ButtonClear"), Qt::LeftButton);
        QVERIFY(idle("ButtonJump"));
        QVERIFY(idle("BitBtnAddA"));
    }

    // The setup window's hint switch reaches every window open at that moment, not only those
    // shown afterwards.
    void theHintSwitchAppliesToEveryOpenWindowAtOnce() {
        World w;
        w.forms.FormView.FormShow();
        w.forms.FormList.Show();
        w.forms.FormSetUp.Show();
        w.forms.FormSetUp.FormShow();
        w.refresh();
        auto* hintBox = w.setup.findChild<QCheckBox*>(QStringLiteral("CheckBoxHint"));
        QVERIFY(hintBox && hintBox->isChecked());
        for (const bool on : {false, true}) {
            hintBox->click();
            w.refresh();
            QCOMPARE(w.forms.FormMain.ShowHints, on);
            for (FormWidget* window :
                 {static_cast<FormWidget*>(&w.main), static_cast<FormWidget*>(&w.view),
                  static_cast<FormWidget*>(&w.list)}) {
                int hinted = 0;
                for (const QWidget* widget : window->findChildren<QWidget*>())
                    hinted += widget->isVisible() && !widget->toolTip().isEmpty();
                QVERIFY2((hinted > 0) == on,
                         qPrintable(QStringLiteral("%1: %2 hints")
                                        .arg(QLatin1String(window->metaObject()->className()))
                                        .arg(hinted)));
            }
        }
    }

    // A first start, the player where window managers put it (centred): the control window as play
    // starts, then the lyrics window (Lyr) and the reader open beside it, each clear of the
    // player and of every window already open, and on the screen.
    void sideWindowsOpenBesideThePlayerOverNoOtherWindow() {
        World w;
        const ScreenSize screen{1280, 800};
        w.fakes.screen.size = screen;
        TFormMain& main = w.forms.FormMain;
        main.CentreOn(screen);
        main.PlacedByPlatform = false;
        w.forms.FormView.FormShow();
        w.forms.FormLyrics.Show();
        w.forms.FormReader.Show();
        w.refresh();
        const std::vector<QWidget*> open = {&w.main, &w.view, &w.lyrics, &w.reader};
        for (std::size_t i = 0; i < open.size(); ++i) {
            const QRect frame = open[i]->frameGeometry();
            const char* name = open[i]->metaObject()->className();
            QVERIFY2(QRect(0, 0, screen.width, screen.height).contains(frame), name);
            for (std::size_t j = 0; j < i; ++j)
                QVERIFY2(!frame.intersects(open[j]->frameGeometry()),
                         qPrintable(QStringLiteral("%1 covers %2")
                                        .arg(QLatin1String(name),
                                             QLatin1String(open[j]->metaObject()->className()))));
        }
    }

    // Last: from here on Qt's own texts are Japanese.
    void qtsOwnButtonsSpeakTheUsersLanguage() {
        QVERIFY(InstallQtTranslations(*qApp, QLocale(QLocale::Japanese, QLocale::Japan)));
        QMessageBox question;
        question.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        QVERIFY(question.button(QMessageBox::Yes)->text().contains(QStringLiteral("はい")));
    }
};

QTEST_MAIN(DesktopViewsTest)
#include "desktop_views_test.moc"
