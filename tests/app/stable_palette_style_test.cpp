// SPDX-License-Identifier: GPL-3.0-or-later
// A button whose text colour toggles keeps reaching the style with one palette per colour, so
// the pictures the style caches per palette are found again instead of piling up.
#include "app/qt/stable_palette_style.h"
#include "forms/views/view_state.h"

#include <QApplication>
#include <QSet>
#include <QStyleOption>
#include <QTest>
#include <QToolButton>

using namespace tobira;

namespace {

// Notes the palette key of everything the style is asked to draw.
class KeyRecorder final : public QProxyStyle {
  public:
    void drawPrimitive(PrimitiveElement e, const QStyleOption* o, QPainter* p,
                       const QWidget* w) const override {
        keys.insert(o->palette.cacheKey());
        QProxyStyle::drawPrimitive(e, o, p, w);
    }
    void drawComplexControl(ComplexControl c, const QStyleOptionComplex* o, QPainter* p,
                            const QWidget* w) const override {
        keys.insert(o->palette.cacheKey());
        QProxyStyle::drawComplexControl(c, o, p, w);
    }
    mutable QSet<qint64> keys;
};

} // namespace

class StablePaletteStyleTest : public QObject {
    Q_OBJECT

  private slots:
    void togglingColoursReuseOnePalettePerColour() {
        for (const bool stable : {false, true}) {
            auto* recorder = new KeyRecorder;
            // The proxy owns its base; without it the recorder is the style itself.
            QStyle* style =
                stable ? static_cast<QStyle*>(new StablePaletteStyle(recorder)) : recorder;
            QToolButton button;
            button.setStyle(style);
            button.resize(26, 19);
            button.show();
            ButtonState state;
            state.Caption = "12";
            for (int i = 0; i < 60; ++i) {
                state.Font = i % 2 ? colors::Red : colors::Black;
                ShowButton(&button, state, false);
                (void)button.grab();
            }
            QCOMPARE(button.palette().color(QPalette::ButtonText),
                     QColor(Qt::red)); // the last, 59, is odd
            if (stable)
                QVERIFY2(recorder->keys.size() <= 3, "a new palette key per colour change");
            else
                QVERIFY(recorder->keys.size() > 30); // what the style alone would see
            button.setStyle(nullptr);
            delete style;
        }
    }
};

QTEST_MAIN(StablePaletteStyleTest)
#include "stable_palette_style_test.moc"
