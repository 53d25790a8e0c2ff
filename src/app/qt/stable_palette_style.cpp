// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/qt/stable_palette_style.h"

#include <QStyleOption>

namespace tobira {

namespace {

// A palette that has never been seen twice would be kept for ever; past this many the table
// starts again (a style uses a handful).
constexpr qsizetype kMaxPalettes = 256;

QByteArray ColourKey(const QPalette& palette) {
    QByteArray key;
    key.reserve(int{QPalette::NColorGroups} * int{QPalette::NColorRoles} * 4);
    for (int group = 0; group < QPalette::NColorGroups; ++group) {
        for (int role = 0; role < QPalette::NColorRoles; ++role) {
            const QRgb rgba = palette
                                  .color(static_cast<QPalette::ColorGroup>(group),
                                         static_cast<QPalette::ColorRole>(role))
                                  .rgba();
            key.append(reinterpret_cast<const char*>(&rgba), sizeof rgba);
        }
    }
    return key;
}

} // namespace

// Puts the shared palette into the caller's option for one drawing call and gives the
// caller's own back afterwards. The options are the callers' local objects, handed down const.
class StablePaletteStyle::Swap final {
  public:
    Swap(const StablePaletteStyle& style, const QStyleOption* option)
        : option_(const_cast<QStyleOption*>(option)) {
        if (!option_)
            return;
        own_ = option_->palette;
        option_->palette = style.shared(own_);
        // The colour group in use (disabled, inactive) is no colour and not in the key: a
        // disabled button drawn with the group of an enabled one would look enabled.
        option_->palette.setCurrentColorGroup(own_.currentColorGroup());
    }
    ~Swap() {
        if (option_)
            option_->palette = own_;
    }
    Swap(const Swap&) = delete;
    Swap& operator=(const Swap&) = delete;

  private:
    QStyleOption* option_;
    QPalette own_;
};

StablePaletteStyle::StablePaletteStyle(QStyle* base) : QProxyStyle(base) {}

const QPalette& StablePaletteStyle::shared(const QPalette& palette) const {
    const QByteArray key = ColourKey(palette);
    auto it = palettes_.find(key);
    if (it == palettes_.end()) {
        if (palettes_.size() >= kMaxPalettes)
            palettes_.clear();
        it = palettes_.insert(key, palette);
    }
    return *it;
}

void StablePaletteStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                                       QPainter* painter, const QWidget* widget) const {
    Swap swap(*this, option);
    QProxyStyle::drawPrimitive(element, option, painter, widget);
}

void StablePaletteStyle::drawControl(ControlElement element, const QStyleOption* option,
                                     QPainter* painter, const QWidget* widget) const {
    Swap swap(*this, option);
    QProxyStyle::drawControl(element, option, painter, widget);
}

void StablePaletteStyle::drawComplexControl(ComplexControl control,
                                            const QStyleOptionComplex* option, QPainter* painter,
                                            const QWidget* widget) const {
    Swap swap(*this, option);
    QProxyStyle::drawComplexControl(control, option, painter, widget);
}

} // namespace tobira
