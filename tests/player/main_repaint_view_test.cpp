// SPDX-License-Identifier: GPL-3.0-or-later
// The main window repaints what changed and nothing else: a tick that changes the time display
// repaints that label's rectangle, a tick that changes nothing repaints nothing.
#include "app/form_set.h"
#include "forms/views/click_label.h"
#include "forms/views/view_hub.h"
#include "player/views/form_main_widget.h"
#include "support/fake_form_set.h"
#include "forms/views/worker_wait.h"

#include <QPaintEvent>
#include <QTest>

using namespace tobira;

namespace {

// Collects the region painted on a window, its children included.
class PaintWatch final : public QObject {
  public:
    explicit PaintWatch(QWidget& window) : window_(window) {
        window.installEventFilter(this);
        for (QWidget* child : window.findChildren<QWidget*>())
            child->installEventFilter(this);
    }
    QRegion painted;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            auto* widget = static_cast<QWidget*>(watched);
            const QRegion region = static_cast<QPaintEvent*>(event)->region();
            painted += region.translated(widget->mapTo(&window_, QPoint(0, 0)));
        }
        return false;
    }

  private:
    QWidget& window_;
};

} // namespace

class MainRepaintViewTest : public QObject {
    Q_OBJECT

  private slots:
    void aTickRepaintsOnlyWhatItChanged() {
        testing::FakeFormSet world;
        WorkerWait workerWait;
        ViewHub hub{workerWait};
        FormMainWidget main(world.forms.FormMain, hub);
        world.forms.CreateAll();
        world.forms.FormMain.Show();
        hub.refreshAll();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        TFormMain& model = world.forms.FormMain;
        const auto rectOf = [&](const char* name) {
            auto* label = main.findChild<ClickLabel*>(name);
            return QRect(label->mapTo(&main, QPoint(0, 0)), label->size());
        };

        struct Case {
            const char* what;
            std::function<void()> change;
            QRegion allowed;
        };
        const Case cases[] = {
            {"nothing changes", [] {}, QRegion()},
            {"the time display", [&] { model.LabelPLAY.Caption = "01:05 PLAY"; },
             rectOf("LabelPLAY")},
            {"the time display and the blinking play mode",
             [&] {
                 model.LabelPLAY.Caption = "01:06 PLAY";
                 model.LabelPlayMode.Font = model.LabelPlayMode.Font == Color{0, 255, 255}
                                                ? Color{0, 128, 128}
                                                : Color{0, 255, 255};
             },
             QRegion(rectOf("LabelPLAY")) + rectOf("LabelPlayMode")},
            {"the same time again", [] {}, QRegion()},
        };
        for (const Case& c : cases) {
            QCoreApplication::processEvents();
            PaintWatch watch(main);
            c.change();
            hub.refreshAll();
            // The repaints the change queued, delivered as the event loop delivers them.
            if (!c.allowed.isEmpty())
                QTRY_VERIFY2(!watch.painted.isEmpty(), c.what);
            QCoreApplication::sendPostedEvents();
            QCoreApplication::processEvents();
            QVERIFY2((watch.painted - c.allowed).isEmpty(), c.what);
        }
    }
};

QTEST_MAIN(MainRepaintViewTest)
#include "main_repaint_view_test.moc"
