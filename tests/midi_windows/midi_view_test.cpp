// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/form_set.h"
#include "forms/views/view_hub.h"
#include "controls/mixer_ctrl.h"
#include "midi_windows/views/form_view_widget.h"
#include "support/fake_media_device.h"
#include "support/fake_form_set.h"
#include "support/fake_ports.h"
#include "support/temp_dir.h"
#include "text/cp932_convert.h"
#include "forms/views/worker_wait.h"

#include <QLabel>
#include <QListWidget>
#include <QTest>
#include <QToolButton>

using namespace tobira;

class MidiViewTest : public QObject {
    Q_OBJECT

    struct World : testing::FakeFormSet {
        TFormView& model = forms.FormView;
        WorkerWait workerWait;
        ViewHub hub{workerWait};
        FormViewWidget view{forms.FormView, hub};
        World() {
            forms.CreateAll();
            model.ListBoxTitle.append("+0 One", "/x/one.mid", "+0", "1");
            model.ListBoxTitle.append("-2 Two", "/x/two.mid", "-2", "1");
            model.ListBoxTitleWindowColor = true;
            model.PanelNumber.Caption = "1";
            model.PanelNumberAll.Caption = "2";
            model.SpeedButtonTxt.Enabled = true;
            model.Show();
            view.render();
        }
        template <typename T> T* child(const char* name) { return view.findChild<T*>(name); }
    };

  private slots:
    void showsThePlayPage() {
        World w;
        auto* list = w.child<QListWidget>("ListBoxTitle");
        QCOMPARE(list->count(), 2);
        QCOMPARE(list->item(1)->text(), QStringLiteral("-2 Two"));
        QCOMPARE(w.child<QLabel>("PanelNumber")->text(), QStringLiteral("1"));
        QCOMPARE(w.child<QLabel>("PanelNumberAll")->text(), QStringLiteral("2"));
        QVERIFY(w.child<QToolButton>("SpeedButtonTxt")->isEnabled());
        QVERIFY(!w.child<QToolButton>("SpeedButtonDoc")->isEnabled());
        QVERIFY(!w.child<QToolButton>("SpeedButtonHed")->isEnabled());
        QVERIFY(!w.child<QToolButton>("SpeedButtonJump")->isEnabled());
        QVERIFY(w.child<QToolButton>("SpeedButtonLst0")->isChecked());
        QVERIFY(w.child<QToolButton>("SpeedButtonNor")->isChecked());
    }

    void clicksReachTheModel() {
        World w;
        auto* list = w.child<QListWidget>("ListBoxTitle");
        const QRect second = list->visualItemRect(list->item(1));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, second.center());
        QCOMPARE(w.model.ListBoxTitleItemIndex, 1);
        QVERIFY(w.child<QToolButton>("SpeedButtonJump")->isEnabled());

        QTest::mouseClick(w.child<QToolButton>("SpeedButtonRnd"), Qt::LeftButton);
        QTest::mouseClick(w.child<QToolButton>("SpeedButtonLst2"), Qt::LeftButton);
        QCOMPARE(w.model.Order(), MidiOrder::Rnd);
        QCOMPARE(w.model.Source(), MidiListSource::BothLists);
        QCOMPARE(w.forms.FormMain.LabelMidiMode.Caption, std::string("RND2"));
        QVERIFY(!w.child<QToolButton>("SpeedButtonNor")->isChecked());

        QTest::mouseClick(w.child<QToolButton>("SpeedButtonClose"), Qt::LeftButton);
        QVERIFY(!w.model.Visible);
    }
};

QTEST_MAIN(MidiViewTest)
#include "midi_view_test.moc"
