// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ports/ports.h"

#include <QString>

#include <functional>

namespace tobira {

// What the models ask of the windows' views: the application's windows, the main window's
// repaint and its title line's widths. The program hands in the views' handlers once it has
// made them; until then each request does nothing.
class QtWindows final : public WindowPort, public RepaintPort, public TextWidthPort {
  public:
    void iconifyApplication() override;
    void closeMainWindow() override;
    void raiseMainWindow() override;
    void showModal(FormModel& form) override;

    void repaintNow() override;

    int titleTextWidth(const std::string& cp932) override;
    int titleLabelWidth() override;

    struct WindowHandlers {
        std::function<void()> iconify;
        std::function<void()> closeMain;
        std::function<void()> raiseMain;
        std::function<void(FormModel&)> showModal;
    };
    void setWindowHandlers(WindowHandlers handlers) { windows_ = std::move(handlers); }
    void setRepaintHandler(std::function<void()> handler) { repaint_ = std::move(handler); }
    // The title label's font and width live in the main window's view.
    struct TitleMetrics {
        std::function<int(const QString&)> textWidth;
        std::function<int()> labelWidth;
    };
    void setTitleMetrics(TitleMetrics metrics) { titleMetrics_ = std::move(metrics); }

  private:
    std::function<void()> repaint_;
    WindowHandlers windows_;
    TitleMetrics titleMetrics_;
};

} // namespace tobira
