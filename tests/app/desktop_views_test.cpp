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
#include "forms/views/click_label.h"
#include "forms/views/picture_button.h"
#include "forms/views/view_hub.h"
#include "forms/views/view_state.h"
#include "media/audio_engine.h"
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
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
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
                if (!widget->isVisible() || !(qobject_cast<QAbstractButton*>(widget) || picture))
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
