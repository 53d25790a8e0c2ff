// A long read on a worker: the UI thread keeps its event loop under the busy cursor, and nothing
// else enters the models until the handler that waits has ended.
#include "app/qt/qt_ports.h"
#include "forms/views/form_widget.h"
#include "forms/views/view_hub.h"
#include "support/wait_until.h"

#include <QApplication>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

using namespace tobira;

class WorkerWaitTest : public QObject {
    Q_OBJECT

  private slots:
    void onlyTheWaitingHandlerReachesTheModelsUntilItEnds() {
        QtPorts ports;
        ViewHub hub;
        FormModel model("side", 200, 100);
        FormWidget window(model, hub);
        model.Show();
        window.show();

        std::vector<std::string> ran; // what reached the models, in order
        std::atomic<int> ticks = 0;   // timer ticks the UI thread's loop took meanwhile
        bool waitCursor = false;
        bool closed = true;
        QTimer timer;
        timer.setInterval(5);
        QObject::connect(&timer, &QTimer::timeout, [&] {
            waitCursor = waitCursor || (QApplication::overrideCursor() &&
                                        QApplication::overrideCursor()->shape() == Qt::WaitCursor);
            if (ticks == 0) {
                closed = window.close();
                ports.post([&] { ran.push_back("posted"); });
            }
            hub.dispatch([&] { ran.push_back("tick"); });
            ++ticks;
        });
        timer.start();
        const std::unique_ptr<UiWake> wake = ports.makeWake([&] { ran.push_back("wake"); });

        const auto uiThread = std::this_thread::get_id();
        bool onWorker = false;
        ports.runBusy([&] {
            onWorker = std::this_thread::get_id() != uiThread;
            wake->raise();
            const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(10);
            while (ticks < 3 && std::chrono::steady_clock::now() < give_up)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
        });
        timer.stop();
        ran.push_back("handler ends");

        QVERIFY(onWorker);
        QVERIFY(ticks >= 3);
        QVERIFY(waitCursor);
        QVERIFY(!QApplication::overrideCursor());
        QVERIFY(!closed);
        QVERIFY(window.isVisible() && model.Visible);
        QVERIFY(testing::WaitUntil([&] { return ran.size() >= 3; }));
        // The held task and the wake run after, in either order between them.
        QCOMPARE(ran.size(), std::size_t{3});
        QCOMPARE(ran.front(), std::string("handler ends"));
        std::sort(ran.begin() + 1, ran.end());
        QCOMPARE(ran, (std::vector<std::string>{"handler ends", "posted", "wake"}));

        // The work's failure reaches the handler, and the loop is left as it was.
        QVERIFY_THROWS_EXCEPTION(std::runtime_error,
                                 ports.runBusy([] { throw std::runtime_error("unreadable"); }));
        QVERIFY(!QApplication::overrideCursor());
        hub.dispatch([&] { ran.push_back("tick"); });
        QCOMPARE(ran.back(), std::string("tick"));
    }
};

QTEST_MAIN(WorkerWaitTest)
#include "worker_wait_test.moc"
