// SPDX-License-Identifier: GPL-3.0-or-later
// A long read on a worker: the UI thread keeps its event loop under the busy cursor, and nothing
// else enters the models until the handler that waits has ended.
#include "app/qt/qt_ports.h"
#include "forms/views/form_widget.h"
#include "forms/views/view_hub.h"
#include "support/wait_until.h"
#include "forms/views/worker_wait.h"

#include <QApplication>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <condition_variable>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

using namespace tobira;

class WorkerWaitTest : public QObject {
    Q_OBJECT

  private slots:
    void onlyTheWaitingHandlerReachesTheModelsUntilItEnds() {
        WorkerWait workerWait;
        QtPorts ports{workerWait};
        ViewHub hub{workerWait};
        FormModel model("side", 200, 100);
        FormWidget window(model, hub);
        model.Show();
        window.show();

        std::vector<std::string> ran; // what reached the models, in order
        int ticks = 0;                // timer ticks the UI thread's loop took meanwhile
        std::mutex ticking;
        std::condition_variable ticked;
        bool waitCursor = false;
        bool closed = true;
        QTimer timer;
        timer.setInterval(5);
        QObject::connect(&timer, &QTimer::timeout, [&] {
            waitCursor = waitCursor || (QApplication::overrideCursor() &&
                                        QApplication::overrideCursor()->shape() == Qt::WaitCursor);
            if (ticks == 0)
                closed = window.close();
            hub.dispatch([&] { ran.push_back("tick"); });
            const std::lock_guard lock(ticking);
            ++ticks;
            ticked.notify_all();
        });
        timer.start();
        const std::unique_ptr<UiWake> wake =
            ports.eventLoop.makeWake([&] { ran.push_back("wake"); });

        const auto uiThread = std::this_thread::get_id();
        bool onWorker = false;
        ports.busy.runBusy([&] {
            onWorker = std::this_thread::get_id() != uiThread;
            wake->raise();
            std::unique_lock lock(ticking);
            ticked.wait_for(lock, testing::kGenerousTimeout, [&] { return ticks >= 3; });
        });
        timer.stop();
        ran.push_back("handler ends");

        QVERIFY(onWorker);
        QVERIFY(ticks >= 3);
        QVERIFY(waitCursor);
        QVERIFY(!QApplication::overrideCursor());
        QVERIFY(!closed);
        QVERIFY(window.isVisible() && model.Visible);
        // The wake raised meanwhile runs after.
        QVERIFY(testing::WaitUntil([&] { return ran.size() >= 2; }));
        QCOMPARE(ran, (std::vector<std::string>{"handler ends", "wake"}));

        // The work's failure reaches the handler, and the loop is left as it was.
        QVERIFY_THROWS_EXCEPTION(
            std::runtime_error, ports.busy.runBusy([] { throw std::runtime_error("unreadable"); }));
        QVERIFY(!QApplication::overrideCursor());
        hub.dispatch([&] { ran.push_back("tick"); });
        QCOMPARE(ran.back(), std::string("tick"));
    }
};

QTEST_MAIN(WorkerWaitTest)
#include "worker_wait_test.moc"
