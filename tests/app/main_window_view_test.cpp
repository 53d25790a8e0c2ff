#include "app/form_msg_widget.h"
#include "app/form_set.h"
#include "controls/mixer_ctrl.h"
#include "app/main_window_widget.h"
#include "app/view_hub.h"
#include "support/fake_media_device.h"
#include "support/fake_ports.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QTest>

using namespace tobira;

class MainWindowViewTest : public QObject {
    Q_OBJECT

    struct World {
        testing::FakePorts fakes;
        testing::FakeMediaDevice cd, midi, wave;
        TMixerCtrl mixer;
        FormSet forms{fakes.ports(), DataPaths::InFolder("/tmp/tobira"),
                      MediaDevices{cd, midi, wave}, mixer};
        ViewHub hub;
        MainWindowWidget main{forms.FormMain, hub};
        FormMsgWidget msg{forms.FormMsg, hub};
        World() {
            forms.CreateAll();
            forms.FormMain.Show();
            hub.refreshAll();
        }
    };

    static void send(QWidget* target, QEvent::Type type, QPoint local, Qt::MouseButtons buttons) {
        QPointF global = target->mapToGlobal(QPointF(local));
        QMouseEvent event(type, QPointF(local), global,
                          type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons,
                          Qt::NoModifier);
        QApplication::sendEvent(target, &event);
    }

  private slots:
    void showsABlackBorderlessStripOfTheRightSize() {
        World w;
        QVERIFY(w.main.isVisible());
        QVERIFY(w.main.windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(w.main.size(), QSize(282, 68));
        QImage shot = w.main.grab().toImage();
        QCOMPARE(QColor(shot.pixel(140, 34)), QColor(Qt::black));
        // Side windows exist but stay hidden.
        QVERIFY(!w.msg.isVisible());
    }

    void draggingTheBodyMovesTheWindowAndTheModelFollows() {
        World w;
        QWidget* body = w.main.childAt(100, 30);
        QVERIFY(body);
        const QPoint start = w.main.pos();
        send(body, QEvent::MouseButtonPress, {100, 30}, Qt::LeftButton);
        send(body, QEvent::MouseMove, {140, 50}, Qt::LeftButton);
        send(body, QEvent::MouseButtonRelease, {140, 50}, Qt::NoButton);
        QCOMPARE(w.main.pos(), start + QPoint(40, 20));
        QCOMPARE(QPoint(w.forms.FormMain.Left, w.forms.FormMain.Top), w.main.pos());
    }

    void closingTheMainWindowClosesTheDevices() {
        World w;
        w.main.close();
        QCOMPARE(w.cd.calls.back(), std::string("close"));
        QCOMPARE(w.wave.calls.back(), std::string("close"));
        QVERIFY(!w.forms.FormMain.Visible);
    }

    void aClickOnTheMessageWindowShowsTheNextMessage() {
        World w;
        w.forms.FormMsg.Show();
        w.hub.refreshAll();
        auto* label = w.msg.findChildren<QLabel*>().last();
        const QString first = label->text();
        QVERIFY(!first.isEmpty());
        QTest::mouseClick(&w.msg, Qt::LeftButton, {}, QPoint(5, 5));
        QVERIFY(label->text() != first);
    }
};

QTEST_MAIN(MainWindowViewTest)
#include "main_window_view_test.moc"
