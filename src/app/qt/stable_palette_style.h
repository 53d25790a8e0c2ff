// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The application style with one palette object per distinct set of colours.

#include <QHash>
#include <QPalette>
#include <QProxyStyle>

namespace tobira {

// Every QWidget::setPalette makes a palette with a new cache key, even for colours used before,
// and the style caches its button pictures under that key. A button whose text colour toggles
// (the current entry, a lamp) thus added new pictures to the pixmap cache on every change, and
// the program's memory grew for as long as it played. This style hands the base style one
// shared palette for each distinct set of colours, so the cached pictures are found again.
class StablePaletteStyle final : public QProxyStyle {
  public:
    // `base` as QProxyStyle takes it: nullptr for the application's default style.
    explicit StablePaletteStyle(QStyle* base = nullptr);

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                            QPainter* painter, const QWidget* widget = nullptr) const override;

    // How many distinct palettes the style has seen (for tests).
    qsizetype paletteCount() const { return palettes_.size(); }

  private:
    class Swap;
    const QPalette& shared(const QPalette& palette) const;

    mutable QHash<QByteArray, QPalette> palettes_;
};

} // namespace tobira
