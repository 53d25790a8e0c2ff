// SPDX-License-Identifier: GPL-3.0-or-later
// The announcement window's view, and the main window view's part in the mode switch: the BAK
// button's right press and files dropped onto the strip.
#include "player/views/form_mode_widget.h"
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
#include <QDropEvent>
#include <QLabel>
#include <QMimeData>
#include <QMouseEvent>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <fstream>

using namespace tobira;

class FormModeViewTest : public QObject {
    Q_OBJECT

    struct World : testing::FakeFormSet {
        WorkerWait workerWait;
        ViewHub hub{workerWait};
        FormMainWidget main{forms.FormMain, hub};
        FormModeWidget mode{forms.FormMode, hub};
        World() {
            forms.CreateAll();
            forms.FormMain.Show();
            hub.refreshAll();
        }
        QLabel* panel() { return mode.findChild<QLabel*>("PanelANN"); }
        void rightPressBAK() {
            auto* bak = main.findChild<PictureButton*>("SpeedButtonBAK");
            QTest::mousePress(bak, Qt::RightButton);
        }
        void drop(const std::vector<std::filesystem::path>& files) {
            QList<QUrl> urls;
            for (const auto& file : files)
                urls.push_back(QUrl::fromLocalFile(QString::fromStdString(file.string())));
            QMimeData data;
            data.setUrls(urls);
            // A drop goes to the widget that took the drag's entry.
            QDragEnterEvent enter(QPoint(100, 30), Qt::CopyAction, &data, Qt::LeftButton,
                                  Qt::NoModifier);
            QApplication::sendEvent(&main, &enter);
            QDropEvent drop(QPointF(100, 30), Qt::CopyAction, &data, Qt::LeftButton,
                            Qt::NoModifier);
            QApplication::sendEvent(&main, &drop);
        }
    };

    static QColor colourOf(QLabel* label, QPalette::ColorRole role) {
        return label->palette().color(role);
    }

  private slots:
    void rightPressOnBackShowsTheAnnouncementAsTheModelSays() {
        World w;
        QVERIFY(!w.mode.isVisible());
        QVERIFY(w.mode.windowFlags() & Qt::FramelessWindowHint);
        QVERIFY(w.mode.windowFlags() & Qt::WindowDoesNotAcceptFocus);

        w.rightPressBAK();
        QCOMPARE(w.forms.FormMain.PlayerMode, PlayerModeKind::MIDI);
        QVERIFY(w.mode.isVisible());
        QCOMPARE(w.mode.geometry(), QRect(w.forms.FormMode.Left, w.forms.FormMode.Top, 282, 47));
        QCOMPARE(w.mode.windowTitle(), QStringLiteral("KANADE"));
        QCOMPARE(w.panel()->text(), QStringLiteral("CD >> MIDI"));
        QCOMPARE(colourOf(w.panel(), QPalette::WindowText), QColor(Qt::yellow));
        QCOMPARE(colourOf(w.panel(), QPalette::Window), QColor(0, 0, 128));
        QCOMPARE(w.panel()->lineWidth(), 3);
        QVERIFY(w.panel()->font().bold() && w.panel()->font().italic());
        QCOMPARE(w.panel()->font().pixelSize(), 37);
        // The navy face shows inside the bevel.
        const QImage shot = w.mode.grab().toImage();
        QCOMPARE(QColor(shot.pixel(6, 6)), QColor(0, 0, 128));
        // The MIDI strip: the title line in place of the marks.
        QVERIFY(w.main.findChild<QLabel*>("LabelMidiTitle")->isVisible());
        QVERIFY(!w.main.findChild<QLabel*>("Label0")->isVisible());

        // Gone at the first tick of the view's two-second timer, which runs the model's handler.
        auto* timer = w.mode.findChild<QTimer*>("Timer1");
        QVERIFY(timer && timer->isActive());
        QCOMPARE(timer->interval(), TFormMode::kTimer1Interval);
        QVERIFY(QMetaObject::invokeMethod(timer, "timeout"));
        QVERIFY(!w.mode.isVisible());
        QVERIFY(!w.forms.FormMode.Visible);

        w.rightPressBAK();
        QCOMPARE(w.forms.FormMain.PlayerMode, PlayerModeKind::CD);
        QCOMPARE(w.panel()->text(), QStringLiteral("MIDI >> CD"));
        QCOMPARE(colourOf(w.panel(), QPalette::WindowText), QColor(Qt::cyan));
        QCOMPARE(w.mode.windowTitle(), QStringLiteral("TOBIRA"));
    }

    void droppedFilesReachTheModelAsCodePage932Paths() {
        World w;
        const auto text = w.folder.path() / "readme.txt";
        const auto unnamable = w.folder.path() / "caf\xc3\xa9.mid"; // é: not in code page 932
        for (const auto& file : {text, unnamable})
            std::ofstream(file) << "x";
        const std::string notPlayable =
            Utf8ToCp932("ドラッグ＆ドロップされたファイルはＫＡＮＡＤＥの再生対象外です");

        // CD mode ignores a drop.
        w.drop({text});
        QVERIFY(w.fakes.messages.shown.empty());
        QCOMPARE(w.fakes.windows.raises, 0);

        w.rightPressBAK();
        // Only text: nothing to play.
        w.drop({text});
        QCOMPARE(w.fakes.messages.shown.size(), std::size_t{1});
        QVERIFY(w.fakes.messages.shown.back() == notPlayable);
        QCOMPARE(w.fakes.windows.raises, 1);
        // A name that code page 932 cannot hold is refused, named.
        w.drop({text, unnamable});
        QCOMPARE(w.fakes.messages.shown.size(), std::size_t{2});
        QVERIFY(w.fakes.messages.shown.back().find("caf\\xC3\\xA9.mid") != std::string::npos);

        // A Japanese name arrives in code page 932 and becomes the play list.
        const auto song = w.folder.path() / "\xe6\x9b\xb2.mid"; // 曲
        std::ofstream(song) << "x";
        w.drop({text, song});
        const PlayList& list = w.forms.FormView.ListBoxTitle;
        QCOMPARE(list.size(), std::size_t{1});
        QVERIFY(list.path(0) == Utf8ToCp932(song.string()));
    }
};

QTEST_MAIN(FormModeViewTest)
#include "form_mode_view_test.moc"
