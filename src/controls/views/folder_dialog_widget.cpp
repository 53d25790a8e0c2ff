// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/views/folder_dialog_widget.h"

#include "forms/views/view_state.h"
#include "text/cp932_convert.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>

namespace tobira {
namespace {

// Scrolls a tree to its current item on request, until the user clicks, scrolls or types in it.
class KeepSelectionInView final : public QObject {
  public:
    explicit KeepSelectionInView(QTreeView* tree) : QObject(tree), tree_(tree) {
        tree->installEventFilter(this);
        tree->viewport()->installEventFilter(this);
    }
    void scroll() {
        if (!touched_)
            tree_->scrollTo(tree_->currentIndex());
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::Wheel:
        case QEvent::KeyPress:
            touched_ = true;
            break;
        default:
            break;
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    QTreeView* tree_;
    bool touched_ = false;
};

} // namespace

bool QtFolderDialog::runFolderDialog(TSHBrowseForFolderEx& chooser) {
    QWidget* owner = QApplication::activeWindow();
    QDialog dialog(owner);
    dialog.setObjectName(QStringLiteral("FolderDialog"));
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.resize(360, 420);
    auto* layout = new QVBoxLayout(&dialog);
    auto* caption = new QLabel(FromCp932(chooser.Dialog.Caption), &dialog);
    caption->setWordWrap(true);
    layout->addWidget(caption);

    auto* model = new QFileSystemModel(&dialog);
    model->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    const QString root = FromCp932(chooser.Dialog.RootPath);
    model->setRootPath(root);
    auto* tree = new QTreeView(&dialog);
    tree->setObjectName(QStringLiteral("FolderTree"));
    tree->setModel(model);
    for (int column = 1; column < model->columnCount(); ++column)
        tree->hideColumn(column);
    tree->header()->hide();
    tree->setRootIndex(model->index(root));
    layout->addWidget(tree, 1);

    auto* status = new QLabel(&dialog);
    status->setObjectName(QStringLiteral("FolderStatus"));
    status->setTextInteractionFlags(Qt::TextSelectableByMouse);
    status->setVisible(chooser.Dialog.StatusVisible);
    layout->addWidget(status);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    layout->addWidget(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, [&] {
        // A folder that could be neither stored nor listed: say so, and let the user choose
        // another, rather than take OK for Cancel.
        const QString chosen = model->filePath(tree->currentIndex());
        if (!chosen.isEmpty()) {
            const std::string refusal = TSHBrowseForFolderEx::RefusalOf(chosen.toStdString());
            if (!refusal.empty()) {
                QMessageBox::warning(&dialog, QStringLiteral("TOBIRA"), FromCp932(refusal));
                return;
            }
        }
        dialog.accept();
    });
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);

    auto show = [&] {
        status->setText(FromCp932(chooser.Dialog.StatusText));
        buttons->button(QDialogButtonBox::Ok)->setEnabled(chooser.Dialog.OkEnabled);
    };
    QObject::connect(tree->selectionModel(), &QItemSelectionModel::currentChanged, &dialog,
                     [&](const QModelIndex& current) {
                         // A folder whose name code page 932 cannot write has no path here.
                         const std::string path =
                             Cp932FromPath(model->filePath(current).toStdString()).value_or("");
                         chooser.DialogSelectionChanged(path);
                         show();
                     });

    const QString initial = FromCp932(chooser.Dialog.SelectedPath);
    // The model reads and sorts folders in the background, moving the rows: keep the initial
    // folder in view through that, until the user takes the tree in hand.
    auto* keepInView = new KeepSelectionInView(tree);
    QObject::connect(model, &QFileSystemModel::directoryLoaded, keepInView,
                     &KeepSelectionInView::scroll);
    QObject::connect(model, &QFileSystemModel::layoutChanged, keepInView,
                     &KeepSelectionInView::scroll);
    QTimer::singleShot(0, &dialog, [&] {
        const QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
        const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
        const QPoint origin = owner ? owner->mapToGlobal(QPoint(0, 0)) : QPoint();
        chooser.DialogShown({area.x(), area.y(), area.width(), area.height()},
                            {dialog.frameGeometry().width(), dialog.frameGeometry().height()},
                            {origin.x(), origin.y()});
        if (chooser.Dialog.Placed)
            dialog.move(chooser.Dialog.Left, chooser.Dialog.Top);
        show();
        if (!initial.isEmpty()) {
            const QModelIndex index = model->index(initial);
            tree->setCurrentIndex(index);
            tree->scrollTo(index);
        }
    });
    const bool accepted = dialog.exec() == QDialog::Accepted;
    if (QWidget* main = QApplication::activeWindow())
        main->activateWindow();
    return accepted;
}

} // namespace tobira
