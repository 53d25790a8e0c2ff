// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/form_model.h"

#include "text/cp932_convert.h"

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

} // namespace tobira
