// SPDX-License-Identifier: GPL-3.0-or-later
// A desktop logout (TERM), Ctrl+C (INT) and a closed terminal (HUP) close the player as closing
// its main window does, once, on the UI thread; without the watch the signal's own action
// returns.
#include "app/qt/close_on_signals.h"

#include <QCoreApplication>
#include <QTest>

#include <csignal>
#include <thread>

using namespace tobira;

class CloseOnSignalsTest : public QObject {
    Q_OBJECT

  private slots:
    void eachSignalClosesOnceOnTheUiThread() {
        for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
            int closes = 0;
            std::thread::id closedOn;
            {
                CloseOnSignals watch([&] {
                    ++closes;
                    closedOn = std::this_thread::get_id();
                });
                std::raise(signal);
                std::raise(signal); // a second one while closing changes nothing
                QTRY_COMPARE_WITH_TIMEOUT(closes, 1, 5000);
                QCoreApplication::processEvents();
                QCOMPARE(closes, 1);
                QCOMPARE(closedOn, std::this_thread::get_id());
            }
            struct sigaction action {};
            ::sigaction(signal, nullptr, &action);
            QVERIFY2(action.sa_handler == SIG_DFL, "the watch gives the signal back");
        }
    }
};

QTEST_MAIN(CloseOnSignalsTest)
#include "close_on_signals_test.moc"
