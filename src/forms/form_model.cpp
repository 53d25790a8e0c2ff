#include "forms/form_model.h"

#include "text/cp932_convert.h"

#include <cmath>

namespace tobira {

FormModel::FormModel(std::string caption, int width, int height)
    : Caption(Utf8ToCp932(caption)), Width(width), Height(height) {}

void FormModel::Show() {
    if (!Visible && placeAtShow_) {
        const auto place = std::move(placeAtShow_);
        placeAtShow_ = nullptr;
        place(*this);
    }
    Visible = true;
}

void FormModel::CentreOn(ScreenSize screen) {
    Left = (screen.width - Width) / 2;
    Top = (screen.height - Height) / 2;
}

std::optional<int> CloseBarWidth(int countdown, int full, int panelWidth) {
    if (full <= 0)
        return std::nullopt;
    const int width =
        static_cast<int>(std::lround(static_cast<double>(countdown) / full * (panelWidth - 6)));
    if (width < 0)
        return std::nullopt;
    return width;
}

} // namespace tobira
