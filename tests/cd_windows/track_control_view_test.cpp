// SPDX-License-Identifier: GPL-3.0-or-later
// The program panel of the track control window's view: the edit list, the slots with SAVE and
// release, the pattern title, the auto-close indicator and the logo.
#include "app/form_set.h"
#include "player/play_modes.h"
#include "forms/views/view_hub.h"
#include "cd_windows/views/form_list_widget.h"
#include "controls/mixer_ctrl.h"
#include "support/fake_media_device.h"
#include "support/fake_form_set.h"
#include "support/fake_ports.h"
#include "support/temp_dir.h"
#include "text/cp932_convert.h"
#include "forms/views/worker_wait.h"

#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace tobira;

class TrackControlViewTest : public QObject {
    Q_OBJECT

    // A disc of five tracks, read and stopped, in program mode; the window open.
    struct World : testing::FakeFormSet {
        TFormList& list = forms.FormList;
        WorkerWait workerWait;
        ViewHub hub{workerWait};
        FormListWidget view{forms.FormList, forms.FormMain.ShowHints, hub};
        World() {
            forms.CreateAll();
            forms.FormMain.DiscInfoRead = true;
            forms.FormMain.TrackCount = 5;
            forms.FormMain.LabelPlayMode.Caption = "PG";
            list.LabelCDID.Caption = "0512345678";
            list.ShowModeDisplay(kProgramMode);
            for (int k = 1; k <= 5; ++k)
                list.SpeedButton[static_cast<std::size_t>(k)].Caption = std::to_string(k);
            list.Show();
            hub.refreshAll();
        }
        template <class T> T* find(const QString& name) { return view.findChild<T*>(name); }
        QToolButton* button(const QString& name) { return find<QToolButton>(name); }
        QString lastMessage() const {
            return fakes.messages.shown.empty()
                       ? QString()
                       : QString::fromStdString(Cp932ToUtf8(fakes.messages.shown.back()));
        }
    };

  private slots:
    void setFillsTheEditListAndAClickRemovesAnEntry() {
        World w;
        for (int k : {4, 2})
            QTest::mouseClick(w.button(QStringLiteral("SpeedButton%1").arg(k)), Qt::LeftButton);
        QCOMPARE(w.button("SpeedButton61")->text(), QStringLiteral("4"));
        QCOMPARE(w.button("SpeedButton62")->text(), QStringLiteral("2"));
        QTest::mouseClick(w.button("SpeedButton61"), Qt::LeftButton);
        QCOMPARE(w.button("SpeedButton61")->text(), QStringLiteral("2"));
        QVERIFY(w.button("SpeedButton62")->text().isEmpty());
        QVERIFY(w.button("SpeedButton120")->isVisible());
    }

    void slotsSaveAndReleaseThroughTheButtons() {
        World w;
        QTest::mouseClick(w.button("SpeedButton3"), Qt::LeftButton);
        QTest::keyClicks(w.find<QLineEdit>("EditPattern"), QStringLiteral("Night"));
        QCOMPARE(w.list.EditPattern, std::string("Night"));
        QTest::mouseClick(w.button("SpeedButtonCD4"), Qt::LeftButton);
        QVERIFY(w.button("SpeedButtonCD4")->isChecked());
        QTest::mouseClick(w.button("SpeedButtonSAVE"), Qt::LeftButton);
        QCOMPARE(w.lastMessage(), QStringLiteral("あなたの設定した再生パターンを保存しました"));
        QCOMPARE(w.button("SpeedButtonCD4")->palette().color(QPalette::ButtonText),
                 QColor(255, 0, 0));
        QVERIFY(!w.button("SpeedButtonCD4")->isChecked());
        QVERIFY(w.find<QLineEdit>("EditPattern")->text().isEmpty());

        QTest::mouseClick(w.button("SpeedButtonCD4"), Qt::RightButton);
        QCOMPARE(w.lastMessage(), QStringLiteral("このボタンの再生パターン解除をおこないました"));
        QCOMPARE(w.button("SpeedButtonCD4")->palette().color(QPalette::ButtonText),
                 QColor(0, 0, 0));
        QVERIFY2(!w.button("SpeedButtonCD4")->isChecked(), "the right button chooses nothing");
    }

    void theIndicatorShowsTheCountdownAndPausesOnAClick() {
        World w;
        w.list.FormClose();
        w.forms.FormSetUp.CheckBoxClose.Down = true;
        w.forms.FormSetUp.ScrollBarClose = 20;
        w.list.Show();
        w.list.CloseCountdown = 10;
        w.list.TimerCloseTimer(); // the pointer of the fakes lies outside the window
        w.hub.refreshAll();
        auto* bar = w.find<QLabel>("PanelBarClose");
        QCOMPARE(bar->width(), 27);
        QVERIFY(w.view.findChild<QTimer*>()->isActive());
        QTest::mouseClick(bar, Qt::LeftButton);
        QVERIFY(w.list.IsAutoClosePaused());
        QCOMPARE(w.find<QLabel>("PanelClose")->palette().color(QPalette::Window),
                 QColor(0, 255, 255));
    }

    void theLogoOpensTheAuthorsMessage() {
        World w;
        QTest::mouseClick(w.find<QLabel>("Image1"), Qt::LeftButton);
        QVERIFY(w.forms.FormMsg.Visible);
    }
};

QTEST_MAIN(TrackControlViewTest)
#include "track_control_view_test.moc"
