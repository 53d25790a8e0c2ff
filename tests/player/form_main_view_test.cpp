// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/views/click_label.h"
#include "windows/views/form_msg_widget.h"
#include "app/form_set.h"
#include "player/views/form_main_widget.h"
#include "forms/views/picture_button.h"
#include "forms/views/view_hub.h"
#include "controls/mixer_ctrl.h"
#include "support/fake_media_device.h"
#include "support/fake_form_set.h"
#include "support/fake_ports.h"
#include "support/temp_dir.h"
#include "text/cp932_convert.h"
#include "forms/views/worker_wait.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QTest>
#include <QTimer>

using namespace tobira;

class MainWindowViewTest : public QObject {
    Q_OBJECT

    struct World : testing::FakeFormSet {
        TFormMain& model = forms.FormMain;
        WorkerWait workerWait;
        ViewHub hub{workerWait};
        FormMainWidget main{forms.FormMain, hub};
        FormMsgWidget msg{forms.FormMsg, hub};
        World() {
            forms.CreateAll();
            forms.FormMain.Show();
            hub.refreshAll();
        }
        ClickLabel* label(const char* name) { return main.findChild<ClickLabel*>(name); }
        PictureButton* button(const char* name) { return main.findChild<PictureButton*>(name); }
        QPoint centreOf(QWidget* w) { return w->mapTo(&main, w->rect().center()); }
    };

    static void send(QWidget* target, QEvent::Type type, QPoint local, Qt::MouseButtons buttons) {
        QPointF global = target->mapToGlobal(QPointF(local));
        QMouseEvent event(type, QPointF(local), global,
                          type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons,
                          Qt::NoModifier);
        QApplication::sendEvent(target, &event);
    }

    static QColor fontColour(QWidget* w) { return w->palette().color(QPalette::WindowText); }
    static QString utf8(const char* text) { return QString::fromUtf8(text); }

  private slots:
    void showsABlackBorderlessStripOfTheRightSize() {
        World w;
        QVERIFY(w.main.isVisible());
        QVERIFY(w.main.windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(w.main.size(), QSize(282, 68));
        QImage shot = w.main.grab().toImage();
        QCOMPARE(QColor(shot.pixel(190, 36)), QColor(Qt::black));
        // Side windows exist but stay hidden.
        QVERIFY(!w.msg.isVisible());
    }

    void draggingTheBodyMovesTheWindowAndTheModelFollows() {
        World w;
        // A lamp has no handler of its own: a press on it drags the window like the bare body.
        for (QPoint at : {QPoint(170, 40), w.centreOf(w.label("LabelPLAY"))}) {
            QWidget* target = w.main.childAt(at);
            QVERIFY(target);
            const QPoint start = w.main.pos();
            const QPoint local = target->mapFrom(&w.main, at);
            send(target, QEvent::MouseButtonPress, local, Qt::LeftButton);
            send(target, QEvent::MouseMove, local + QPoint(40, 20), Qt::LeftButton);
            send(target, QEvent::MouseButtonRelease, local + QPoint(40, 20), Qt::NoButton);
            QCOMPARE(w.main.pos(), start + QPoint(40, 20));
            QCOMPARE(QPoint(w.model.Left, w.model.Top), w.main.pos());
        }
    }

    void closingTheMainWindowClosesTheDevices() {
        World w;
        w.main.close();
        QCOMPARE(w.cd.calls.back(), std::string("close"));
        QCOMPARE(w.wave.calls.back(), std::string("close"));
        QVERIFY(!w.model.Visible);
    }

    void theStripShowsTheModelsLabels() {
        World w;
        w.model.LabelPLAY = {Utf8ToCp932("NO DISC"), colors::Lime, "", true};
        w.model.LabelMarks[3] = {Utf8ToCp932("・"), colors::Teal, "", true};
        w.model.LabelMarks[4] = {"12", colors::Yellow, "", true};
        w.model.LabelTotalMUSIC = {"13", colors::Aqua, Utf8ToCp932("全トラック時間 45分10秒"),
                                   true};
        w.model.LabelTIME.Visible = false;
        w.model.LabelVol = {"IIIII", colors::Yellow, "", true};
        w.hub.refreshAll();

        QCOMPARE(w.label("LabelPLAY")->text(), utf8("NO DISC"));
        QCOMPARE(fontColour(w.label("LabelPLAY")), QColor(0, 255, 0));
        QCOMPARE(w.label("Label3")->text(), utf8("・"));
        QCOMPARE(fontColour(w.label("Label3")), QColor(0, 128, 128));
        QCOMPARE(w.label("Label4")->text(), utf8("12"));
        QCOMPARE(fontColour(w.label("Label4")), QColor(255, 255, 0));
        QCOMPARE(w.label("LabelTotalMUSIC")->toolTip(), utf8("全トラック時間 45分10秒"));
        QVERIFY(w.label("LabelTotalMUSIC")->font().underline());
        QVERIFY(!w.label("LabelTIME")->isVisible());
        QCOMPARE(w.label("LabelVol")->text(), utf8("IIIII"));
        QCOMPARE(fontColour(w.label("LabelVol")), QColor(255, 255, 0));

        // What the model draws reaches the screen: the yellow mark's pixels.
        const QImage shot = w.main.grab().toImage();
        const QRect mark = w.label("Label4")->geometry();
        bool yellow = false;
        for (int x = mark.left(); x <= mark.right(); ++x)
            for (int y = mark.top(); y <= mark.bottom(); ++y)
                yellow = yellow || QColor(shot.pixel(x, y)).red() > 150;
        QVERIFY(yellow);
    }

    void hintsShowOnlyWhileTheModelsShowHintsIsOn() {
        World w;
        w.model.SpeedButtonPAUSE.Hint = Utf8ToCp932("ポーズ（右クリックでアイコン化）");
        w.model.ShowHints = true;
        w.hub.refreshAll();
        QCOMPARE(w.button("SpeedButtonPAUSE")->toolTip(), utf8("ポーズ（右クリックでアイコン化）"));
        w.model.ShowHints = false;
        w.hub.refreshAll();
        QVERIFY(w.button("SpeedButtonPAUSE")->toolTip().isEmpty());
        QVERIFY(w.label("LabelTotalMUSIC")->toolTip().isEmpty());
    }

    void midiModeShowsTheTitleLineInsteadOfTheMarks() {
        World w;
        const QImage cdLogo = w.label("ImageLogo")->grab().toImage();
        w.model.ImageLogoIsMidi = true;
        w.model.LabelMidiTitle = {Utf8ToCp932("★ MIDI mode (KANADE mode)"), colors::Aqua, "", true};
        w.model.LabelMidiMode = {"NOR0", colors::Aqua, "", true};
        for (LabelState* hidden :
             {&w.model.LabelPlayMode, &w.model.LabelTotalMUSIC, &w.model.LabelTIME})
            hidden->Visible = false;
        for (LabelState& mark : w.model.LabelMarks)
            mark.Visible = false;
        w.hub.refreshAll();
        QVERIFY(w.label("LabelMidiTitle")->isVisible());
        QCOMPARE(w.label("LabelMidiTitle")->text(), utf8("★ MIDI mode (KANADE mode)"));
        QVERIFY(w.label("LabelMidiMode")->isVisible());
        QVERIFY(!w.label("Label0")->isVisible());
        QVERIFY(!w.label("LabelPlayMode")->isVisible());
        QVERIFY(w.label("ImageLogo")->grab().toImage() != cdLogo);
    }

    void theTimersFollowTheModel() {
        World w;
        auto* timer1 = w.main.findChild<QTimer*>("Timer1");
        auto* timer3 = w.main.findChild<QTimer*>("Timer3");
        QVERIFY(timer1 && timer3);
        QVERIFY(timer1->isActive());
        QCOMPARE(timer1->interval(), 1000);
        QVERIFY(!timer3->isActive());
        w.model.Timer3Enabled = true;
        w.hub.refreshAll();
        QVERIFY(timer3->isActive());
        QCOMPARE(timer3->interval(), 8000);
        w.model.Timer3Enabled = false;
        w.hub.refreshAll();
        QVERIFY(!timer3->isActive());
    }

    void rightPressesReachTheModel() {
        World w;
        w.model.ImageLIVE = false;
        QTest::mousePress(w.button("SpeedButtonNXT"), Qt::RightButton);
        QVERIFY(w.model.ImageLIVE);
        QVERIFY(w.label("ImageLIVE")->isVisible());
        QVERIFY(w.label("ProgressBarWave")->isVisible());

        // STOP's right button mutes and raises no click: the CD is not stopped.
        QCOMPARE(w.model.LabelVol.Font, colors::Aqua);
        const auto cdCalls = w.cd.calls.size();
        QTest::mousePress(w.button("SpeedButtonSTOP"), Qt::RightButton);
        QTest::mouseRelease(w.button("SpeedButtonSTOP"), Qt::RightButton);
        QCOMPARE(w.model.LabelVol.Font, colors::Yellow);
        QCOMPARE(fontColour(w.label("LabelVol")), QColor(255, 255, 0));
        QCOMPARE(w.cd.calls.size(), cdCalls);

        QTest::mousePress(w.button("SpeedButtonPAUSE"), Qt::RightButton);
        QCOMPARE(w.fakes.windows.iconified, 1);

        QTest::mousePress(w.label("ImageLogo"), Qt::RightButton);
        QVERIFY(w.forms.FormSetUp.Visible);
    }

    void leftClicksReachTheModel() {
        World w;
        const Color before = w.model.PanelPOW.Font;
        QTest::mouseClick(w.label("PanelPOW"), Qt::LeftButton);
        QVERIFY(w.model.PanelPOW.Font != before);

        const std::size_t level = w.model.LabelVol.Caption.size();
        QTest::mouseClick(w.button("SpeedButtonVolUp"), Qt::LeftButton);
        QCOMPARE(w.model.LabelVol.Caption.size(), level + 1);
        QCOMPARE(w.label("LabelVol")->text().size(), qsizetype(level + 1));

        QTest::mouseClick(w.button("SpeedButtonPOW"), Qt::LeftButton);
        QCOMPARE(w.fakes.windows.closeRequests, 1);
    }

    void pressingAModeMarkWhileStoppedSelectsTheMode() {
        World w;
        w.cd.currentMode = DeviceMode::Stopped;
        w.model.LabelMarks[1] = {"RD", colors::Aqua, "", true};
        w.hub.refreshAll();
        ClickLabel* mark = w.label("Label1");
        QTest::mousePress(mark, Qt::LeftButton);
        QCOMPARE(w.model.LabelPlayMode.Caption, std::string("RD"));
        QCOMPARE(fontColour(w.label("LabelPlayMode")), QColor(255, 255, 255));
        QTest::mouseRelease(mark, Qt::LeftButton);
        QCOMPARE(fontColour(w.label("LabelPlayMode")), QColor(0, 255, 255));
    }

    void holdingBackDuringPlayLightsItsLamp() {
        World w;
        w.model.DiscInfoRead = true;
        w.cd.currentMode = DeviceMode::Playing;
        w.model.LabelPLAY.Font = colors::Aqua;
        QTest::mousePress(w.button("SpeedButtonBAK"), Qt::LeftButton);
        QCOMPARE(fontColour(w.label("LabelBAK")), QColor(0, 255, 255));
        QTest::mouseRelease(w.button("SpeedButtonBAK"), Qt::LeftButton);
        QCOMPARE(fontColour(w.label("LabelBAK")), QColor(0, 128, 128));
    }

    void aModalWindowReturnsOnceItIsHidden() {
        World w;
        bool wasModal = false;
        QTimer::singleShot(0, [&] {
            wasModal = w.msg.isVisible() && w.msg.isModal();
            w.forms.FormMsg.Hide();
            w.hub.refreshAll();
        });
        w.msg.runModal();
        QVERIFY(wasModal);
        QVERIFY(!w.msg.isVisible());
        QVERIFY(!w.msg.isModal());
    }

    void aClickOnTheMessageWindowShowsTheNextMessage() {
        World w;
        w.forms.FormMsg.Show();
        w.hub.refreshAll();
        auto* label = w.msg.findChild<QLabel*>(QStringLiteral("LabelMessage"));
        const QString first = label->text();
        QVERIFY(!first.isEmpty());
        QTest::mouseClick(&w.msg, Qt::LeftButton, {}, QPoint(5, 5));
        QVERIFY(label->text() != first);
    }
};

QTEST_MAIN(MainWindowViewTest)
#include "form_main_view_test.moc"
