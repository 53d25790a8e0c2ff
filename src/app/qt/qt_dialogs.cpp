// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/qt/qt_dialogs.h"

#include "controls/shbrowse_for_folder_ex.h"
#include "controls/views/folder_dialog_widget.h"
#include "forms/views/view_state.h"
#include "text/cp932_convert.h"

#include <QApplication>
#include <QFileDialog>
#include <QFontDialog>
#include <QHeaderView>
#include <QMessageBox>
#include <QTreeView>

namespace tobira {
namespace {

// A chosen path that code page 932 cannot hold is refused here, never passed on damaged.
std::optional<std::string> ToCorePath(const QString& path) {
    if (path.isEmpty())
        return std::nullopt;
    auto converted = Cp932FromPath(path.toStdString());
    if (!converted)
        QMessageBox::warning(
            QApplication::activeWindow(), QStringLiteral("TOBIRA"),
            QStringLiteral("このファイル名は使えません（Shift-JIS にない文字を含みます）:\n") +
                path);
    return converted;
}

// Qt's own dialog gives the size, type and date columns a fixed width, which cuts "16.0 KiB"
// and Japanese type names: they take what their texts need, the name column the rest.
void ShowColumnsWhole(QFileDialog& dialog) {
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    auto* details = dialog.findChild<QTreeView*>(QStringLiteral("treeView"));
    if (!details)
        return;
    QHeaderView* header = details->header();
    header->setStretchLastSection(false);
    header->setSectionResizeMode(0, QHeaderView::Stretch);
    for (int column = 1; column < header->count(); ++column)
        header->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    dialog.resize(dialog.sizeHint().expandedTo(QSize(640, 400)));
}

} // namespace

void QtDialogs::showMessage(const std::string& text) {
    QMessageBox::information(QApplication::activeWindow(), QStringLiteral("TOBIRA"),
                             FromCp932(text));
}

bool QtDialogs::askYesNo(const std::string& text) {
    return QMessageBox::question(QApplication::activeWindow(), QStringLiteral("TOBIRA"),
                                 FromCp932(text),
                                 QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

Answer QtDialogs::askYesNoCancel(const std::string& text) {
    switch (QMessageBox::warning(QApplication::activeWindow(), QStringLiteral("TOBIRA"),
                                 FromCp932(text),
                                 QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel)) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return Answer::Cancel;
    }
}

void QtDialogs::beep() {
    QApplication::beep();
}

std::optional<std::string> QtDialogs::chooseOpenFile(const std::string& caption,
                                                     const std::string& initialFolder,
                                                     const std::string& filter) {
    // "Description|pattern" pairs become Qt's "Description (pattern)"; Qt matches them in any
    // letter case.
    QString qtFilter = FromCp932(filter);
    if (const QStringList parts = qtFilter.split(QLatin1Char('|')); parts.size() >= 2) {
        QStringList filters;
        for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
            filters.push_back(parts[i] + QStringLiteral(" (") + parts[i + 1] + QLatin1Char(')'));
        qtFilter = filters.join(QStringLiteral(";;"));
    }
    QFileDialog dialog(QApplication::activeWindow(), FromCp932(caption), FromCp932(initialFolder),
                       qtFilter);
    dialog.setFileMode(QFileDialog::ExistingFile);
    ShowColumnsWhole(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return ToCorePath(dialog.selectedFiles().constFirst());
}

std::optional<std::string> QtDialogs::chooseFolder(const std::string& caption,
                                                   const std::string& initialFolder) {
    QtFolderDialog dialog;
    TSHBrowseForFolderEx chooser(dialog);
    chooser.Caption = caption;
    chooser.SelectFolder = TSelectFolder::sfManual;
    chooser.SelectFolderName = initialFolder;
    chooser.Options = sboReturnOnlyFSDirs | sboStatusTextAndShowPath;
    chooser.ShowStyle = TShowStyle::ssCenterScreen;
    if (!chooser.Execute() || chooser.FolderName.empty())
        return std::nullopt;
    return chooser.FolderName;
}

std::optional<FontChoice> QtDialogs::chooseFont(const FontChoice& current) {
    bool ok = false;
    QFont font = QFontDialog::getFont(&ok, QFont(FromCp932(current.name), current.size),
                                      QApplication::activeWindow());
    if (!ok)
        return std::nullopt;
    return FontChoice{Utf8ToCp932(font.family().toStdString()), font.pointSize()};
}

} // namespace tobira
