#include "app/qt_ports.h"

#include "app/error_report.h"
#include "app/view_state.h"
#include "text/cp932_convert.h"

#include <QApplication>
#include <QCursor>
#include <QFileDialog>
#include <QFontDialog>
#include <QMessageBox>
#include <QProcess>
#include <QScreen>

namespace tobira {
namespace {

// A chosen path that code page 932 cannot hold is refused here, never passed on damaged.
std::optional<std::string> ToCorePath(const QString& path) {
    if (path.isEmpty())
        return std::nullopt;
    auto converted = TryUtf8ToCp932(path.toStdString());
    if (!converted)
        QMessageBox::warning(
            QApplication::activeWindow(), "TOBIRA",
            QStringLiteral("このファイル名は使えません（Shift-JIS にない文字を含みます）:\n") +
                path);
    return converted;
}

} // namespace

QtPorts::QtPorts() = default;

void QtPorts::showMessage(const std::string& text) {
    QMessageBox::information(QApplication::activeWindow(), "TOBIRA", FromCp932(text));
}

bool QtPorts::askYesNo(const std::string& text) {
    return QMessageBox::question(QApplication::activeWindow(), "TOBIRA", FromCp932(text),
                                 QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

Answer QtPorts::askYesNoCancel(const std::string& text) {
    switch (QMessageBox::warning(QApplication::activeWindow(), "TOBIRA", FromCp932(text),
                                 QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel)) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return Answer::Cancel;
    }
}

void QtPorts::beep() {
    QApplication::beep();
}

std::optional<std::string> QtPorts::chooseOpenFile(const std::string& caption,
                                                   const std::string& initialFolder,
                                                   const std::string& filter) {
    return ToCorePath(QFileDialog::getOpenFileName(QApplication::activeWindow(), FromCp932(caption),
                                                   FromCp932(initialFolder), FromCp932(filter)));
}

std::optional<std::string> QtPorts::chooseFolder(const std::string& caption,
                                                 const std::string& initialFolder) {
    return ToCorePath(QFileDialog::getExistingDirectory(
        QApplication::activeWindow(), FromCp932(caption), FromCp932(initialFolder)));
}

std::optional<FontChoice> QtPorts::chooseFont(const FontChoice& current) {
    bool ok = false;
    QFont font = QFontDialog::getFont(&ok, QFont(FromCp932(current.name), current.size),
                                      QApplication::activeWindow());
    if (!ok)
        return std::nullopt;
    return FontChoice{Utf8ToCp932(font.family().toStdString()), font.pointSize()};
}

void QtPorts::beginBusy() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void QtPorts::endBusy() {
    QApplication::restoreOverrideCursor();
}

ScreenSize QtPorts::screenSize() {
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return {};
    return {screen->geometry().width(), screen->geometry().height()};
}

ScreenPoint QtPorts::pointerPosition() {
    QPoint p = QCursor::pos();
    return {p.x(), p.y()};
}

int QtPorts::titleTextWidth(const std::string& cp932) {
    return titleMetrics_.textWidth ? titleMetrics_.textWidth(FromCp932(cp932)) : 0;
}

int QtPorts::titleLabelWidth() {
    return titleMetrics_.labelWidth ? titleMetrics_.labelWidth() : 0;
}

void QtPorts::repaintNow() {
    if (repaint_)
        repaint_();
}

std::chrono::system_clock::time_point QtPorts::now() {
    return std::chrono::system_clock::now();
}

bool QtPorts::startDetached(const std::string& program, const std::vector<std::string>& arguments) {
    QStringList args;
    for (const auto& argument : arguments)
        args << FromCp932(argument);
    return QProcess::startDetached(FromCp932(program), args);
}

void QtPorts::iconifyApplication() {
    if (windows_.iconify)
        windows_.iconify();
}

void QtPorts::closeMainWindow() {
    if (windows_.closeMain)
        windows_.closeMain();
}

void QtPorts::showModal(FormModel& form) {
    if (windows_.showModal)
        windows_.showModal(form);
}

void QtPorts::post(std::function<void()> task) {
    QMetaObject::invokeMethod(
        this,
        [this, task = std::move(task)] {
            try {
                task();
            } catch (const std::exception& error) {
                ReportUncaughtError(error);
            } catch (...) {
                ReportUncaughtError();
            }
            if (afterTask_)
                afterTask_();
        },
        Qt::QueuedConnection);
}

} // namespace tobira
