// SPDX-License-Identifier: GPL-3.0-or-later
// The control window's views offscreen: clicks reach the page models, the pages show them.
// With TOBIRA_SCREENSHOT_DIR set, every page, the folder chooser and the reader are saved as
// PNG files there (run under xvfb-run to see the real fonts).
#include "forms/views/view_hub.h"
#include "controls/views/folder_dialog_widget.h"
#include "midi_windows/views/form_view_widget.h"
#include "support/fake_form_set.h"
#include "support/smf_writer.h"
#include "support/wait_until.h"
#include "text/cp932_convert.h"
#include "windows/views/form_reader_widget.h"
#include "forms/views/worker_wait.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QFileSystemModel>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTabBar>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>

#include <fstream>

using namespace tobira;

namespace {

std::string Sjis(const char* utf8) {
    return Utf8ToCp932(utf8);
}

void Save(QWidget* widget, const char* name) {
    const QByteArray folder = qgetenv("TOBIRA_SCREENSHOT_DIR");
    if (folder.isEmpty())
        return;
    widget->grab().save(QString::fromUtf8(folder) + QLatin1Char('/') + QLatin1String(name) +
                        QStringLiteral(".png"));
}

} // namespace

class ControlWindowViewTest : public QObject {
    Q_OBJECT

    struct World : testing::FakeFormSet {
        TFormView& model = forms.FormView;
        WorkerWait workerWait;
        ViewHub hub{workerWait};
        FormViewWidget view{forms.FormView, hub};
        FormReaderWidget reader{forms.FormReader, hub};
        World() {
            hub.add(&view);
            hub.add(&reader);
            forms.CreateAll();
            model.ListFont = {"IPAGothic", 10};
            const std::string folderPath = *Cp932FromPath(folder.path());
            auto line = [&](const char* title, const char* file) {
                return Sjis(title) + "\t" + folderPath + "/" + file + "\t+0\t1";
            };
            std::ofstream(folder / "GAKUFU.DT0", std::ios::binary)
                << line("!1 さくら変奏曲 by 奏", "sakura.mid") << "\r\n"
                << line("月光ソナタ 第１楽章 by Beethoven", "moon.mid") << "\r\n"
                << line("ｶﾉﾝ ﾆ長調", "canon.mid") << "\r\n";
            std::ofstream(folder / "GAKUFU.DT1", std::ios::binary)
                << line("交響曲第九番 by Beethoven", "nine.mid") << "\r\n"
                << line("ＭＩＤＩ テスト曲", "test.mid") << "\r\n";
            model.ListBoxTitle.append(Sjis("+0 さくら変奏曲 by 奏"), folderPath + "/sakura.mid",
                                      "+0", "1");
            model.ListBoxTitle.append(Sjis("-2 月光ソナタ 第１楽章"), folderPath + "/moon.mid",
                                      "-2", "1");
            model.ListBoxTitleWindowColor = true;
            model.Show();
            hub.refreshAll();
        }
        template <typename T> T* child(const char* name) { return view.findChild<T*>(name); }
        void turnTo(int page) {
            QTabBar* tabs = child<QTabBar>("PageControl1");
            QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(page).center());
            QApplication::processEvents();
        }
    };

  private slots:
    void pagesShowTheirModelsAndClicksReachThem() {
        World w;
        w.view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w.view));
        Save(&w.view, "play");

        w.turnTo(TFormView::kList0Page);
        QCOMPARE(w.model.PageIndex, TFormView::kList0Page);
        auto* titles = w.child<QListWidget>("ListBoxTitle0");
        QCOMPARE(titles->count(), 3);
        QCOMPARE(titles->item(0)->text(), QStringLiteral("!1 さくら変奏曲 by 奏"));
        QTest::mouseClick(titles->viewport(), Qt::LeftButton, {},
                          titles->visualItemRect(titles->item(1)).center());
        QCOMPARE(w.model.Page0.ItemIndex, 1);
        QCOMPARE(w.child<QLineEdit>("EditTitle0")->text(), QStringLiteral("ｶﾉﾝ ﾆ長調"));
        QVERIFY(w.child<QToolButton>("SpeedButtonDel0")->isEnabled());
        Save(&w.view, "list0");
        QTest::mouseClick(w.child<QToolButton>("SpeedButtonCtrl0"), Qt::LeftButton);
        QCOMPARE(titles->item(0)->text(), QStringLiteral("!2 さくら変奏曲 by 奏"));

        w.turnTo(TFormView::kList1Page);
        QCOMPARE(w.child<QListWidget>("ListBoxTitle1")->count(), 2);
        Save(&w.view, "list1");

        w.turnTo(TFormView::kSearchPage);
        QCOMPARE(w.model.Search.ComboBoxKeyWordItems,
                 (std::vector<std::string>{"Beethoven", Sjis("奏")}));
        w.model.Search.ComboBoxKeyWord = "Beethoven";
        QTest::mouseClick(w.child<QToolButton>("ButtonSearch"), Qt::LeftButton);
        auto* results = w.child<QListWidget>("ListBoxSearch");
        QCOMPARE(results->count(), 2);
        QTest::mouseClick(results->viewport(), Qt::LeftButton, {},
                          results->visualItemRect(results->item(1)).center());
        QCOMPARE(w.model.Search.ListBoxSearchSelected, (std::vector<bool>{false, true}));
        QVERIFY(w.child<QToolButton>("ButtonMon")->isEnabled());
        Save(&w.view, "search");

        QTest::mouseClick(w.child<QToolButton>("BitBtnAddA"), Qt::LeftButton);
        QCOMPARE(w.model.Album.ListBoxAContents.size(), 1u);
        w.turnTo(TFormView::kAlbumPage);
        w.model.Album.EditATitle = Sjis("お気に入り");
        w.hub.refreshAll();
        Save(&w.view, "album-edit");
        QTest::mouseClick(w.child<QToolButton>("SpeedButtonASave"), Qt::LeftButton);
        w.model.Album.InnerPage = AlbumPage::kManageTab;
        QTest::mouseClick(w.child<QToolButton>("SpeedButtonATitleAll"), Qt::LeftButton);
        QCOMPARE(w.child<QListWidget>("ListBoxATitles")->count(), 1);
        Save(&w.view, "album-manage");
    }

    // A click in the title box, the keyword box or a start folder box selects all of its text;
    // the search page, shown or cleared, puts the focus in the keyword box.
    void aClickSelectsAllAndTheSearchPageFocusesTheKeyword() {
        World w;
        w.view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w.view));
        w.view.activateWindow();
        w.turnTo(TFormView::kList0Page);
        auto* titles = w.child<QListWidget>("ListBoxTitle0");
        QTest::mouseClick(titles->viewport(), Qt::LeftButton, {},
                          titles->visualItemRect(titles->item(0)).center());
        auto* keyWord = w.child<QComboBox>("ComboBoxKeyWord");
        w.model.Search.ComboBoxKeyWord = "Beethoven";
        w.model.Search.EditList0 = "/home/user/midi";
        w.hub.refreshAll();

        const struct {
            int page;
            QLineEdit* edit;
        } cases[] = {
            {TFormView::kList0Page, w.child<QLineEdit>("EditTitle0")},
            {TFormView::kSearchPage, keyWord->lineEdit()},
            {TFormView::kSearchPage, w.child<QLineEdit>("EditList0")},
        };
        for (const auto& c : cases) {
            w.turnTo(c.page);
            QVERIFY(!c.edit->text().isEmpty());
            // Pressed near the start: on its own, that places the cursor there.
            QTest::mouseClick(c.edit, Qt::LeftButton, {}, QPoint(4, c.edit->height() / 2));
            QVERIFY(testing::WaitUntil([&] { return c.edit->selectedText() == c.edit->text(); }));
        }

        auto focusIsOnKeyWord = [&] {
            return w.view.focusWidget() == keyWord || w.view.focusWidget() == keyWord->lineEdit();
        };
        w.turnTo(TFormView::kList0Page);
        QTest::mouseClick(w.child<QLineEdit>("EditTitle0"), Qt::LeftButton);
        QVERIFY(!focusIsOnKeyWord());
        w.turnTo(TFormView::kSearchPage);
        QVERIFY(focusIsOnKeyWord());
        QTest::mouseClick(w.child<QLineEdit>("EditList0"), Qt::LeftButton);
        QVERIFY(!focusIsOnKeyWord());
        QTest::mouseClick(w.child<QToolButton>("ButtonClear"), Qt::LeftButton);
        QVERIFY(focusIsOnKeyWord());
        QVERIFY(keyWord->currentText().isEmpty());
    }

    void readerShowsAShiftJisDocument() {
        World w;
        const auto document = w.folder / "moon.txt";
        std::ofstream(document, std::ios::binary)
            << Sjis("月光ソナタ（ベートーヴェン）\r\n") << Sjis("演奏データ作成：奏\r\n")
            << std::string(200, '-') << "\r\n";
        w.model.OpenDocument(*Cp932FromPath(document));
        w.hub.refreshAll();
        QVERIFY(QTest::qWaitForWindowExposed(&w.reader));
        auto* memo = w.reader.findChild<QPlainTextEdit*>(QStringLiteral("MemoReader"));
        QVERIFY(memo);
        QCOMPARE(w.reader.windowTitle(), QStringLiteral("moon.txt"));
        QCOMPARE(memo->toPlainText().section(QLatin1Char('\n'), 0, 1),
                 QStringLiteral("月光ソナタ（ベートーヴェン）\n演奏データ作成：奏"));
        Save(&w.reader, "reader");
        // A load replaces what was typed, in the text area's font, and keeps one document.
        memo->insertPlainText(QStringLiteral("typed"));
        w.model.OpenDocument(*Cp932FromPath(document));
        w.hub.refreshAll();
        QVERIFY(!memo->toPlainText().contains(QStringLiteral("typed")));
        QCOMPARE(memo->document()->defaultFont(), memo->font());
        QCOMPARE(memo->findChildren<QTextDocument*>(Qt::FindDirectChildrenOnly).size(), 1);
    }

    // A document of one line of megabytes is laid out in bounded pieces; the characters stay.
    void readerBoundsTheLayoutOfLongLines_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("blocks"); // -1: broken for the layout
        QTest::newRow("short lines") << QByteArray("a\r\nb\r\n") + QByteArray(8000, '-') << 3;
        QTest::newRow("one 16 MB line") << QByteArray(16 * 1024 * 1024 - 16, 'x') << -1;
        QByteArray wide;
        for (int i = 0; i < 40000; ++i)
            wide += "\xF0\x9F\x8E\xB5\xE6\x9C\x88"; // a note beyond the basic plane, 月
        QTest::newRow("characters beyond the basic plane") << wide << -1;
    }

    void readerBoundsTheLayoutOfLongLines() {
        QFETCH(QByteArray, bytes);
        QFETCH(int, blocks);
        World w;
        const auto document = w.folder / "long.txt";
        std::ofstream(document, std::ios::binary) << bytes.toStdString();
        w.model.OpenDocument(*Cp932FromPath(document));
        w.hub.refreshAll();
        auto* memo = w.reader.findChild<QPlainTextEdit*>(QStringLiteral("MemoReader"));
        QVERIFY(memo);
        const QTextDocument* shown = memo->document();
        if (blocks >= 0) {
            QCOMPARE(shown->blockCount(), blocks);
            return;
        }
        QVERIFY(shown->blockCount() > 1);
        QString joined;
        for (QTextBlock b = shown->begin(); b.isValid(); b = b.next()) {
            // A piece may run one past the bound to keep a surrogate pair whole; then its end.
            QVERIFY(b.length() <= 8192 + 2);
            QVERIFY(!b.text().isEmpty() && !b.text().front().isLowSurrogate());
            joined += b.text();
        }
        QCOMPARE(joined, QString::fromUtf8(bytes));
    }

    void folderChooserOpensAtTheInitialFolder() {
        testing::TempDir dir;
        std::filesystem::create_directories(dir / "music" / "クラシック");
        QtFolderDialog port;
        TSHBrowseForFolderEx chooser(port);
        chooser.Caption = Sjis("ＭＩＤＩファイルのあるフォルダを選択してください");
        chooser.SelectFolder = TSelectFolder::sfManual;
        chooser.SelectFolderName = *Cp932FromPath(dir / "music");
        chooser.Options = sboReturnOnlyFSDirs | sboStatusTextAndShowPath;
        chooser.ShowStyle = TShowStyle::ssCenterScreen;
        QString status;
        bool inView = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            // The initial folder is selected and in view, also once its parents have been read
            // and sorted in the background.
            auto* tree = dialog->findChild<QTreeView*>(QStringLiteral("FolderTree"));
            auto* folders = qobject_cast<QFileSystemModel*>(tree->model());
            bool parentRead = false;
            QObject::connect(
                folders, &QFileSystemModel::directoryLoaded, dialog, [&](const QString& path) {
                    parentRead = parentRead || path == QString::fromStdString(dir.path().string());
                });
            auto selectionInView = [tree] {
                return tree->currentIndex().isValid() &&
                       tree->viewport()->rect().contains(
                           tree->visualRect(tree->currentIndex()).center());
            };
            inView = testing::WaitUntil([&] { return parentRead && selectionInView(); });
            // The sort that follows the read is queued: let it run.
            QCoreApplication::processEvents();
            inView = inView && selectionInView();
            status = dialog->findChild<QLabel*>(QStringLiteral("FolderStatus"))->text();
            Save(dialog, "folder-chooser");
            dialog->accept();
        });
        QVERIFY(chooser.Execute());
        QVERIFY(inView);
        QCOMPARE(status, QString::fromStdString(Cp932ToUtf8(*Cp932FromPath(dir / "music"))));
        QCOMPARE(chooser.FolderName, *Cp932FromPath(dir / "music"));
    }
};

QTEST_MAIN(ControlWindowViewTest)
#include "control_window_view_test.moc"
