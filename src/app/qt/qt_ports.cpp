#include "app/qt/qt_ports.h"

#include "forms/views/error_report.h"
#include "forms/views/view_state.h"
#include "forms/views/worker_wait.h"
#include "controls/views/folder_dialog_widget.h"
#include "text/cp932_convert.h"

#include <QApplication>
#include <QCursor>
#include <QFileDialog>
#include <QFontDialog>
#include <QHeaderView>
#include <QMessageBox>
#include <QProcess>
#include <QScreen>
#include <QSocketNotifier>
#include <QTreeView>

#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <system_error>
#include <utility>

namespace tobira {
namespace {

// An owned file descriptor.
class FileDescriptor final {
  public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() { ::close(fd_); }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }

  private:
    int fd_;
};

int NewEventFd() {
    const int fd = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (fd < 0)
        throw std::system_error(errno, std::generic_category(), "eventfd");
    return fd;
}

class EventFdWake final : public UiWake {
  public:
    explicit EventFdWake(std::function<void()> run)
        : fd_(NewEventFd()), notifier_(fd_.get(), QSocketNotifier::Read), run_(std::move(run)) {
        QObject::connect(&notifier_, &QSocketNotifier::activated, [this] {
            // Left raised while a handler waits for a worker: the notifier fires again after.
            if (WaitingForWorker())
                return;
            std::uint64_t raises = 0;
            // Reading resets the counter: every raise so far is answered by this one run.
            if (::read(fd_.get(), &raises, sizeof raises) == sizeof raises)
                run_();
        });
    }
    void raise() override {
        const std::uint64_t one = 1;
        // Fails only when the counter is full, and then a run is due anyway.
        [[maybe_unused]] const auto written = ::write(fd_.get(), &one, sizeof one);
    }

  private:
    FileDescriptor fd_; // closed after the notifier is gone
    QSocketNotifier notifier_;
    std::function<void()> run_;
};

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

QtPorts::QtPorts() = default;

void QtPorts::showMessage(const std::string& text) {
    QMessageBox::information(QApplication::activeWindow(), QStringLiteral("TOBIRA"),
                             FromCp932(text));
}

bool QtPorts::askYesNo(const std::string& text) {
    return QMessageBox::question(QApplication::activeWindow(), QStringLiteral("TOBIRA"),
                                 FromCp932(text),
                                 QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

Answer QtPorts::askYesNoCancel(const std::string& text) {
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

void QtPorts::beep() {
    QApplication::beep();
}

std::optional<std::string> QtPorts::chooseOpenFile(const std::string& caption,
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

std::optional<std::string> QtPorts::chooseFolder(const std::string& caption,
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

void QtPorts::runBusy(const std::function<void()>& work) {
    WaitForWorker(work);
}

ScreenSize QtPorts::screenSize() {
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return {};
    return {screen->geometry().width(), screen->geometry().height()};
}

ScreenArea QtPorts::workArea() {
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return {};
    const QRect area = screen->availableGeometry();
    return {area.x(), area.y(), area.width(), area.height()};
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

void QtPorts::raiseMainWindow() {
    if (windows_.raiseMain)
        windows_.raiseMain();
}

void QtPorts::showModal(FormModel& form) {
    if (windows_.showModal)
        windows_.showModal(form);
}

void QtPorts::post(std::function<void()> task) {
    QMetaObject::invokeMethod(
        this, [this, task = std::move(task)] { runTask(task); }, Qt::QueuedConnection);
}

std::unique_ptr<UiWake> QtPorts::makeWake(std::function<void()> task) {
    return std::make_unique<EventFdWake>([this, task = std::move(task)] { runTask(task); });
}

void QtPorts::runTask(const std::function<void()>& task) {
    if (WaitingForWorker()) {
        // Posted again once the handler that waits has ended, behind the tasks held before it.
        AfterWorkerWait([this, task] { post(task); });
        return;
    }
    try {
        task();
    } catch (const std::exception& error) {
        ReportUncaughtError(error);
    } catch (...) {
        ReportUncaughtError();
    }
    if (afterTask_)
        afterTask_();
}

} // namespace tobira
