// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/form_set.h"
#include "player/play_modes.h"
#include "forms/views/view_hub.h"
#include "cd_windows/views/form_list_widget.h"
#include "controls/mixer_ctrl.h"
#include "support/fake_media_device.h"
#include "support/fake_form_set.h"
#include "support/fake_ports.h"
#include "support/temp_dir.h"
#include "forms/views/worker_wait.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <algorithm>
#include <string>

using namespace tobira;

class FormListViewTest : public QObject {
    Q_OBJECT

    // A disc of five tracks, read and stopped, in normal order; the window open.
    struct World : testing::FakeFormSet {
        TFormList& list = forms.FormList;
        WorkerWait workerWait;
        ViewHub hub{workerWait};
        FormListWidget view{forms.FormList, forms.FormMain.ShowHints, hub};
        World() {
            forms.CreateAll();
            forms.FormMain.DiscInfoRead = true;
            forms.FormMain.TrackCount = 5;
            for (int k = 1; k <= 5; ++k)
                list.SpeedButton[static_cast<std::size_t>(k)].Caption = std::to_string(k);
            list.Show();
            hub.refreshAll();
        }
        template <class T> T* find(const QString& name) { return view.findChild<T*>(name); }
        QToolButton* entry(int k) {
            return find<QToolButton>(QStringLiteral("SpeedButton%1").arg(k));
        }
        bool played(int track) {
            const std::string call = "playFrom " + std::to_string(track);
            return std::find(cd.calls.begin(), cd.calls.end(), call) != cd.calls.end();
        }
    };

  private slots:
    void theEntryRowShowsThePlayOrder() {
        World w;
        w.list.HighlightEntry(2);
        w.hub.refreshAll();
        QCOMPARE(w.entry(2)->text(), QStringLiteral("2"));
        QCOMPARE(w.entry(2)->palette().color(QPalette::ButtonText), QColor(255, 0, 0));
        QCOMPARE(w.entry(3)->palette().color(QPalette::ButtonText), QColor(0, 0, 0));
        QVERIFY(w.entry(6)->text().isEmpty());
        QVERIFY(w.entry(60)->isVisible());
        QCOMPARE(w.find<QLabel>("LabelORG")->text(), QStringLiteral("Normal Mode"));
    }

    void programModeMakesTheWindowTallAndTheOptionsUsable() {
        World w;
        struct Case {
            int mode;
            int height;
            bool program;
        };
        for (const Case c : {Case{kProgramMode, 317, true}, Case{kReverseMode, 185, false}}) {
            w.list.ShowModeDisplay(c.mode);
            w.hub.refreshAll();
            QCOMPARE(w.view.height(), c.height);
            QCOMPARE(w.find<QToolButton>("SpeedButtonSET")->isEnabled(), c.program);
            if (c.program)
                QVERIFY(w.find<QToolButton>("SpeedButtonSET")->isChecked());
            QCOMPARE(w.find<QToolButton>("SpeedButtonMON")->isEnabled(), c.program);
            QCOMPARE(w.find<QCheckBox>("CheckBoxRandom")->isVisible(), c.program);
            QCOMPARE(w.find<QToolButton>("SpeedButtonNXT")->isVisible(), c.program);
            QCOMPARE(w.find<QLabel>("LabelDST")->text().isEmpty(), !c.program);
        }
    }

    void clickingAnEntryPlaysFromIt() {
        World w;
        QTest::mouseClick(w.entry(3), Qt::LeftButton);
        QVERIFY(w.played(3));
        QCOMPARE(w.forms.FormMain.OrderPosition, 3);
        QVERIFY(!w.entry(3)->isChecked());
        QCOMPARE(w.entry(3)->palette().color(QPalette::ButtonText), QColor(255, 0, 0));

        // An empty entry plays nothing and is not kept down.
        w.cd.calls.clear();
        QTest::mouseClick(w.entry(7), Qt::LeftButton);
        QVERIFY(w.cd.calls.empty());
        QVERIFY(!w.entry(7)->isChecked());
    }

    void inProgramModeSetTakesTheEntryAndMonPlaysIt() {
        World w;
        w.forms.FormMain.LabelPlayMode.Caption = "PG";
        w.list.ShowModeDisplay(kProgramMode);
        w.hub.refreshAll();
        QTest::mouseClick(w.entry(2), Qt::LeftButton);
        QVERIFY(!w.played(2));
        QTest::mouseClick(w.find<QToolButton>("SpeedButtonMON"), Qt::LeftButton);
        QVERIFY(w.find<QToolButton>("SpeedButtonMON")->isChecked());
        QVERIFY(!w.find<QToolButton>("SpeedButtonSET")->isChecked());
        QCOMPARE(w.find<QToolButton>("SpeedButtonMON")->palette().color(QPalette::ButtonText),
                 QColor(255, 0, 0));
        QTest::mouseClick(w.entry(2), Qt::LeftButton);
        QVERIFY(w.played(2));
    }

    void theTwoOptionsAreNeverBothOn() {
        World w;
        w.list.ShowModeDisplay(kProgramMode);
        w.hub.refreshAll();
        auto* random = w.find<QCheckBox>("CheckBoxRandom");
        auto* reverse = w.find<QCheckBox>("CheckBoxReverse");
        QTest::mouseClick(random, Qt::LeftButton);
        QVERIFY(random->isChecked() && w.list.CheckBoxRandom.Down);
        QTest::mouseClick(reverse, Qt::LeftButton);
        QVERIFY(reverse->isChecked() && !random->isChecked());
        QVERIFY(!w.list.CheckBoxRandom.Down);
    }

    void closingWhileStoppedClearsTheOrderAndTheOptions() {
        World w;
        w.list.CheckBoxReverse.Down = true;
        w.hub.refreshAll();
        QTest::mouseClick(w.find<QPushButton>("ButtonClose"), Qt::LeftButton);
        QVERIFY(!w.view.isVisible());
        QVERIFY(!w.list.Visible);
        QVERIFY(w.list.EntryEmpty(1));
        QVERIFY(!w.list.CheckBoxReverse.Down);
    }
};

QTEST_MAIN(FormListViewTest)
#include "form_list_view_test.moc"
