#pragma once

#include "ports/ports.h"

#include <QObject>

#include <functional>

namespace tobira {

// The ports on Qt: message boxes, choosers, the override cursor, the primary screen, the clock,
// QProcess and the event loop. Texts are converted from code page 932 at this border.
class QtPorts final : public QObject,
                      public MessagePort,
                      public ChooserPort,
                      public BusyCursorPort,
                      public ScreenPort,
                      public RepaintPort,
                      public ClockPort,
                      public ProcessPort,
                      public UiPostPort,
                      public WindowPort,
                      public TextWidthPort {
    Q_OBJECT
  public:
    QtPorts();

    void showMessage(const std::string& text) override;
    bool askYesNo(const std::string& text) override;
    Answer askYesNoCancel(const std::string& text) override;
    void beep() override;

    std::optional<std::string> chooseOpenFile(const std::string& caption,
                                              const std::string& initialFolder,
                                              const std::string& filter) override;
    std::optional<std::string> chooseFolder(const std::string& caption,
                                            const std::string& initialFolder) override;
    std::optional<FontChoice> chooseFont(const FontChoice& current) override;

    void beginBusy() override;
    void endBusy() override;
    // The work on a worker thread (WaitForWorker); tasks posted meanwhile run after it, in order.
    void runBusy(const std::function<void()>& work) override;

    ScreenSize screenSize() override;
    ScreenArea workArea() override;
    ScreenPoint pointerPosition() override;

    void repaintNow() override;
    std::chrono::system_clock::time_point now() override;
    bool startDetached(const std::string& program,
                       const std::vector<std::string>& arguments) override;

    // Thread-safe: queues the task on the event loop, then runs `afterTask` (the views redraw).
    void post(std::function<void()> task) override;
    // An eventfd read by a socket notifier on the event loop: a raise is one write(2).
    std::unique_ptr<UiWake> makeWake(std::function<void()> task) override;

    void iconifyApplication() override;
    void closeMainWindow() override;
    void raiseMainWindow() override;
    void showModal(FormModel& form) override;

    int titleTextWidth(const std::string& cp932) override;
    int titleLabelWidth() override;

    // The window operations need the views, which the program wires in after making them.
    struct WindowHandlers {
        std::function<void()> iconify;
        std::function<void()> closeMain;
        std::function<void()> raiseMain;
        std::function<void(FormModel&)> showModal;
    };
    void setWindowHandlers(WindowHandlers handlers) { windows_ = std::move(handlers); }
    void setRepaintHandler(std::function<void()> handler) { repaint_ = std::move(handler); }
    void setAfterTask(std::function<void()> handler) { afterTask_ = std::move(handler); }
    // The title label's font and width live in the main window's view.
    struct TitleMetrics {
        std::function<int(const QString&)> textWidth;
        std::function<int()> labelWidth;
    };
    void setTitleMetrics(TitleMetrics metrics) { titleMetrics_ = std::move(metrics); }

  private:
    void runTask(const std::function<void()>& task);

    std::function<void()> repaint_;
    std::function<void()> afterTask_;
    WindowHandlers windows_;
    TitleMetrics titleMetrics_;
};

} // namespace tobira
