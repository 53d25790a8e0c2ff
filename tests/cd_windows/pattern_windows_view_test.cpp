// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/form_set.h"
#include "forms/views/view_hub.h"
#include "cd_windows/views/form_manage_widget.h"
#include "cd_windows/views/form_pattern_widget.h"
#include "cd_windows/pattern_display.h"
#include "controls/mixer_ctrl.h"
#include "support/fake_media_device.h"
#include "support/fake_form_set.h"
#include "support/fake_ports.h"
#include "support/temp_dir.h"
#include "text/cp932_convert.h"
#include "forms/views/worker_wait.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <QToolButton>

#include <algorithm>
#include <fstream>

using namespace tobira;

class PatternWindowsViewTest : public QObject {
    Q_OBJECT

    // A five-track disc read, with two stored patterns.
    struct World : testing::FakeFormSet {
        WorkerWait workerWait;
        ViewHub hub{workerWait};
        FormPatternWidget selector{forms.FormPattern, forms.FormMain.ShowHints, hub};
        FormManageWidget manage{forms.FormManage, hub};
        World() {
            forms.CreateAll();
            forms.FormMain.DiscInfoRead = true;
            forms.FormMain.TrackCount = 5;
            forms.FormMain.LabelPlayMode.Caption = "PG";
            forms.FormList.LabelCDID.Caption = "0500250005";
            std::ofstream(folder.path() / "TOBIRA.DAT", std::ios::binary)
                << "05002500052=02 04 .Mix\r\n"
                << Utf8ToCp932("05002500050=05 .夜の曲\r\n");
            forms.FormMain.Patterns = {};
            ReadPatternFile(forms.FormMain.Paths.PatternPath, forms.FormMain.Patterns,
                            {forms.FormList.SpeedButtonCD, forms.FormPattern.SpeedButton,
                             forms.FormList.LabelCDID},
                            fakes.messages);
        }
        template <class T> T* in(QWidget& view, const QString& name) {
            return view.findChild<T*>(name);
        }
    };

  private slots:
    void selectorRowsShowThePatternsAndAChoiceClosesIt() {
        World w;
        w.forms.FormPattern.Show();
        w.hub.refreshAll();
        auto* row0 = w.in<QToolButton>(w.selector, "SpeedButton0");
        QCOMPARE(row0->text(), QStringLiteral("夜の曲"));
        QCOMPARE(row0->toolTip(), QStringLiteral("トラック順 05 "));
        QVERIFY(w.in<QToolButton>(w.selector, "SpeedButton1")->text().isEmpty());
        QCOMPARE(w.in<QLabel>(w.selector, "Label10")->text(), QStringLiteral("9"));

        auto* random = w.in<QToolButton>(w.selector, "SpeedButtonRandom");
        QTest::mouseClick(random, Qt::LeftButton);
        QVERIFY(w.forms.FormList.CheckBoxRandom.Down);
        QCOMPARE(random->palette().color(QPalette::ButtonText), QColor(255, 0, 0));

        QTest::mouseClick(w.in<QToolButton>(w.selector, "SpeedButton2"), Qt::LeftButton);
        QVERIFY(!w.selector.isVisible());
        QVERIFY(w.forms.FormList.SpeedButtonCD[2].Down);
        QVERIFY(!w.forms.FormList.CheckBoxRandom.Down);
        QCOMPARE(random->palette().color(QPalette::ButtonText), QColor(0, 0, 0));
        QVERIFY(std::find(w.cd.calls.begin(), w.cd.calls.end(), "playFrom 4") != w.cd.calls.end());
    }

    // Shown as the player shows it, the selector starts on its first pattern; the arrows pass
    // over empty rows, Enter chooses, and Escape closes it as its close box does.
    void selectorIsDrivenByKeys() {
        World w;
        w.selector.setWindowModality(Qt::ApplicationModal);
        w.forms.FormPattern.FormShow();
        w.forms.FormPattern.Show();
        w.hub.refreshAll();
        w.selector.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w.selector));
        QCOMPARE(QApplication::focusWidget(), w.in<QToolButton>(w.selector, "SpeedButton0"));
        QVERIFY(!w.in<QToolButton>(w.selector, "SpeedButton1")->isEnabled());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        QCOMPARE(QApplication::focusWidget(), w.in<QToolButton>(w.selector, "SpeedButton2"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QVERIFY(!w.selector.isVisible());
        QVERIFY(w.forms.FormList.SpeedButtonCD[2].Down);

        w.forms.FormPattern.Show();
        w.hub.refreshAll();
        w.selector.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w.selector));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QVERIFY(!w.selector.isVisible() && !w.forms.FormPattern.Visible);
    }

    void managementListLoadsALineIntoTheColouredEditField() {
        World w;
        w.forms.FormManage.Show();
        w.hub.refreshAll();
        QVERIFY(w.manage.isVisible());
        auto* lines = w.in<QListWidget>(w.manage, "ListBoxManage");
        QCOMPARE(lines->count(), 2);
        QCOMPARE(lines->item(0)->text(), QStringLiteral("05002500050=05 .夜の曲"));
        auto* del = w.in<QToolButton>(w.manage, "SpeedButtonDEL");
        QVERIFY(!del->isEnabled());

        QTest::mouseClick(lines->viewport(), Qt::LeftButton, {},
                          lines->visualItemRect(lines->item(1)).center());
        auto* edit = w.in<QLineEdit>(w.manage, "EditManage");
        QCOMPARE(edit->text(), QStringLiteral("05002500052=02 04 .Mix"));
        QCOMPARE(edit->palette().color(QPalette::Base), QColor(0, 255, 255));
        QCOMPARE(w.in<QLabel>(w.manage, "PanelTITLE")->text(), QStringLiteral("Mix"));
        QVERIFY(del->isEnabled());

        QTest::mouseClick(del, Qt::LeftButton);
        QCOMPARE(lines->count(), 1);
        QVERIFY(edit->text().isEmpty());
        QCOMPARE(w.forms.FormList.SpeedButtonCD[2].Font, colors::Black);
    }

    void typingInTheEditFieldReachesTheModel() {
        World w;
        w.forms.FormManage.Show();
        w.hub.refreshAll();
        auto* edit = w.in<QLineEdit>(w.manage, "EditManage");
        QTest::keyClicks(edit, QStringLiteral("ab"));
        QCOMPARE(w.forms.FormManage.EditManage, std::string("ab"));
        QTest::mouseClick(w.in<QToolButton>(w.manage, "SpeedButtonCDID"), Qt::LeftButton);
        QCOMPARE(w.in<QListWidget>(w.manage, "ListBoxManage")->currentRow(), 0);
    }
};

QTEST_MAIN(PatternWindowsViewTest)
#include "pattern_windows_view_test.moc"
