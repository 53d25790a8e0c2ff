// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/views/pictures.h"

#include <QConicalGradient>
#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <functional>

namespace tobira {
namespace {

const QColor kGlyph(205, 220, 225);
const QColor kGlyphDisabled(90, 95, 100);
const QColor kPowerGlyph(240, 110, 90);
const QColor kFrame(0, 90, 90);

QFont LogoFont(int pixelSize) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixelSize);
    font.setBold(true);
    font.setItalic(true);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

QPixmap Render(QSize size, qreal scale, const std::function<void(QPainter&)>& paint) {
    QPixmap pixmap(size * scale);
    pixmap.setDevicePixelRatio(scale);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    paint(painter);
    return pixmap;
}

QPolygonF Triangle(QPointF tip, qreal width, qreal height, bool pointsRight) {
    const qreal back = pointsRight ? tip.x() - width : tip.x() + width;
    return QPolygonF(
        {tip, QPointF(back, tip.y() - height / 2), QPointF(back, tip.y() + height / 2)});
}

// The symbols are drawn on a 12 x 8 grid centred in the face, whole pixels at 1x.
void PaintGlyph(QPainter& p, QPointF c, ButtonFace face, const QColor& colour) {
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    const qreal h = 8;
    switch (face) {
    case ButtonFace::Play:
        p.drawPolygon(Triangle({c.x() + 4, c.y()}, 8, h, true));
        break;
    case ButtonFace::Pause:
        p.drawRect(QRectF(c.x() - 4, c.y() - h / 2, 3, h));
        p.drawRect(QRectF(c.x() + 1, c.y() - h / 2, 3, h));
        break;
    case ButtonFace::Stop:
        // Stop, and eject on the second press.
        p.drawRect(QRectF(c.x() - 7, c.y() - 3.5, 7, 7));
        p.drawPolygon(QPolygonF({QPointF(c.x() + 5, c.y() - 4), QPointF(c.x() + 9, c.y() + 0.5),
                                 QPointF(c.x() + 1, c.y() + 0.5)}));
        p.drawRect(QRectF(c.x() + 1, c.y() + 2, 8, 2));
        break;
    case ButtonFace::Back:
        p.drawRect(QRectF(c.x() - 6, c.y() - h / 2, 2, h));
        p.drawPolygon(Triangle({c.x() - 4, c.y()}, 5, h, false));
        p.drawPolygon(Triangle({c.x() + 1, c.y()}, 5, h, false));
        break;
    case ButtonFace::Next:
        p.drawPolygon(Triangle({c.x() - 1, c.y()}, 5, h, true));
        p.drawPolygon(Triangle({c.x() + 4, c.y()}, 5, h, true));
        p.drawRect(QRectF(c.x() + 4, c.y() - h / 2, 2, h));
        break;
    case ButtonFace::Power: {
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(colour, 1.6, Qt::SolidLine, Qt::RoundCap));
        const QRectF ring(c.x() - 4, c.y() - 3.5, 8, 8);
        p.drawArc(ring, 120 * 16, 300 * 16);
        p.drawLine(QPointF(c.x(), c.y() - 5), QPointF(c.x(), c.y() + 0.5));
        break;
    }
    case ButtonFace::VolumeDown:
    case ButtonFace::VolumeUp: {
        // A loudspeaker with a minus or a plus beside it.
        p.drawRect(QRectF(c.x() - 7, c.y() - 1.5, 2, 3));
        p.drawPolygon(QPolygonF({QPointF(c.x() - 5, c.y() - 1.5), QPointF(c.x() - 2, c.y() - 4),
                                 QPointF(c.x() - 2, c.y() + 4), QPointF(c.x() - 5, c.y() + 1.5)}));
        p.drawRect(QRectF(c.x() + 1, c.y() - 1, 6, 2));
        if (face == ButtonFace::VolumeUp)
            p.drawRect(QRectF(c.x() + 3, c.y() - 3, 2, 6));
        break;
    }
    }
}

void PaintDisc(QPainter& p, QPointF centre, qreal radius) {
    QConicalGradient shine(centre, 30);
    shine.setColorAt(0.0, QColor(200, 230, 255));
    shine.setColorAt(0.2, QColor(120, 140, 170));
    shine.setColorAt(0.35, QColor(255, 220, 240));
    shine.setColorAt(0.5, QColor(200, 230, 255));
    shine.setColorAt(0.7, QColor(110, 130, 160));
    shine.setColorAt(0.85, QColor(230, 255, 220));
    shine.setColorAt(1.0, QColor(200, 230, 255));
    p.setPen(QPen(QColor(60, 70, 80), radius > 10 ? 1.0 : 0.6));
    p.setBrush(shine);
    p.drawEllipse(centre, radius, radius);
    p.setBrush(QColor(20, 20, 24));
    p.drawEllipse(centre, radius * 0.22, radius * 0.22);
}

void PaintLogoText(QPainter& p, const QRectF& box, const QString& text, const QColor& top,
                   const QColor& bottom) {
    QLinearGradient fill(box.topLeft(), box.bottomLeft());
    fill.setColorAt(0, top);
    fill.setColorAt(1, bottom);
    p.setPen(QPen(QBrush(fill), 1));
    p.setFont(LogoFont(11));
    p.drawText(box, Qt::AlignLeft | Qt::AlignVCenter, text);
}

// A fading rule that fills the rest of a logo.
void PaintLogoRule(QPainter& p, qreal from, qreal to, qreal y, const QColor& colour) {
    QLinearGradient fade(QPointF(from, y), QPointF(to, y));
    fade.setColorAt(0, colour);
    QColor end = colour;
    end.setAlpha(0);
    fade.setColorAt(1, end);
    p.fillRect(QRectF(from, y, to - from, 1), fade);
}

} // namespace

void PaintButtonFace(QPainter& p, const QRectF& rect, ButtonFace face, bool down, bool enabled) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF plate = rect.adjusted(0.5, 0.5, -0.5, -0.5);
    QLinearGradient metal(plate.topLeft(), plate.bottomLeft());
    metal.setColorAt(0, down ? QColor(28, 30, 34) : QColor(82, 88, 96));
    metal.setColorAt(0.5, down ? QColor(38, 41, 46) : QColor(52, 56, 62));
    metal.setColorAt(1, down ? QColor(50, 54, 60) : QColor(30, 32, 36));
    p.setPen(QPen(QColor(8, 8, 10), 1));
    p.setBrush(metal);
    p.drawRoundedRect(plate, 3, 3);
    if (!down) {
        p.setPen(QPen(QColor(130, 138, 146), 1));
        p.drawLine(QPointF(plate.left() + 3, plate.top() + 1),
                   QPointF(plate.right() - 3, plate.top() + 1));
    }
    const QPointF centre = rect.center() + (down ? QPointF(0.5, 1) : QPointF(0, 0));
    QColor colour = face == ButtonFace::Power ? kPowerGlyph : kGlyph;
    if (!enabled)
        colour = kGlyphDisabled;
    PaintGlyph(p, QPointF(std::round(centre.x()), std::round(centre.y())), face, colour);
    p.restore();
}

void PaintBodyPanel(QPainter& p, const QRectF& rect, qreal ruleY) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(rect, Qt::black);
    p.setPen(kFrame);
    p.setBrush(Qt::NoBrush);
    p.drawRect(rect.adjusted(0, 0, -1, -1));
    p.setPen(QColor(0, 40, 40));
    p.drawRect(rect.adjusted(1, 1, -2, -2));
    if (ruleY >= 0) {
        QLinearGradient rule(rect.topLeft(), rect.topRight());
        rule.setColorAt(0, QColor(0, 40, 40));
        rule.setColorAt(0.5, QColor(0, 110, 110));
        rule.setColorAt(1, QColor(0, 40, 40));
        p.fillRect(QRectF(rect.left() + 3, ruleY, rect.width() - 6, 1), rule);
    }
    p.restore();
}

void PaintCdLogo(QPainter& p, QPointF o) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    PaintDisc(p, o + QPointF(6, 6), 5.5);
    PaintLogoText(p, QRectF(o.x() + 15, o.y() - 1, 60, 14), QStringLiteral("TOBIRA"),
                  QColor(230, 255, 255), QColor(0, 200, 210));
    PaintLogoRule(p, o.x() + 70, o.x() + 100, o.y() + 8, QColor(0, 200, 210));
    PaintLogoRule(p, o.x() + 74, o.x() + 100, o.y() + 10, QColor(0, 130, 140));
    p.restore();
}

void PaintMidiLogo(QPainter& p, QPointF o) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    // A pair of quavers.
    const QColor note(255, 210, 60);
    p.setPen(Qt::NoPen);
    p.setBrush(note);
    p.drawEllipse(QRectF(o.x() + 1, o.y() + 7.5, 4, 3.5));
    p.drawEllipse(QRectF(o.x() + 7, o.y() + 6.5, 4, 3.5));
    p.fillRect(QRectF(o.x() + 4, o.y() + 1.5, 1, 7.5), note);
    p.fillRect(QRectF(o.x() + 10, o.y() + 0.5, 1, 7.5), note);
    p.drawPolygon(QPolygonF({QPointF(o.x() + 4, o.y() + 1.5), QPointF(o.x() + 11, o.y() + 0.5),
                             QPointF(o.x() + 11, o.y() + 2.5), QPointF(o.x() + 4, o.y() + 3.5)}));
    PaintLogoText(p, QRectF(o.x() + 15, o.y() - 1, 62, 14), QStringLiteral("KANADE"),
                  QColor(255, 250, 200), QColor(255, 150, 40));
    PaintLogoRule(p, o.x() + 76, o.x() + 100, o.y() + 8, QColor(255, 170, 50));
    PaintLogoRule(p, o.x() + 80, o.x() + 100, o.y() + 10, QColor(190, 100, 30));
    p.restore();
}

void PaintLiveMark(QPainter& p, QPointF o) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF badge(o.x() + 0.5, o.y() + 0.5, kLiveSize.width() - 1, kLiveSize.height() - 1);
    QLinearGradient red(badge.topLeft(), badge.bottomLeft());
    red.setColorAt(0, QColor(235, 60, 60));
    red.setColorAt(1, QColor(150, 10, 20));
    p.setPen(QPen(QColor(255, 140, 120), 1));
    p.setBrush(red);
    p.drawRoundedRect(badge, 2, 2);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 240, 120));
    p.drawEllipse(QPointF(o.x() + 6, o.y() + 5), 2, 2);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(8);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(o.x() + 10, o.y(), 29, kLiveSize.height()), Qt::AlignCenter,
               QStringLiteral("LIVE"));
    p.restore();
}

void PaintTrackControlLogo(QPainter& p, QPointF o) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const qreal w = kTrackControlLogoSize.width();
    QRadialGradient glow(o + QPointF(w / 2, w / 2), w / 2);
    glow.setColorAt(0, QColor(0, 90, 100));
    glow.setColorAt(1, QColor(0, 0, 0));
    p.setPen(QPen(kFrame, 1));
    p.setBrush(glow);
    p.drawRoundedRect(QRectF(o.x() + 0.5, o.y() + 0.5, w - 1, w - 1), 5, 5);
    PaintDisc(p, o + QPointF(w / 2, w / 2 - 4), 14);
    QFont font = LogoFont(8);
    p.setFont(font);
    p.setPen(QColor(0, 255, 255));
    p.drawText(QRectF(o.x(), o.y() + w - 12, w, 11), Qt::AlignCenter, QStringLiteral("TOBIRA"));
    p.restore();
}

QPixmap ButtonFacePicture(ButtonFace face, QSize size, qreal scale, bool down) {
    return Render(size, scale, [&](QPainter& p) {
        PaintButtonFace(p, QRectF(QPointF(0, 0), QSizeF(size)), face, down);
    });
}

QPixmap CdLogoPicture(qreal scale) {
    return Render(kLogoSize, scale, [](QPainter& p) { PaintCdLogo(p, {0, 0}); });
}

QPixmap MidiLogoPicture(qreal scale) {
    return Render(kLogoSize, scale, [](QPainter& p) { PaintMidiLogo(p, {0, 0}); });
}

QPixmap LivePicture(qreal scale) {
    return Render(kLiveSize, scale, [](QPainter& p) { PaintLiveMark(p, {0, 0}); });
}

QPixmap TrackControlLogoPicture(qreal scale) {
    return Render(kTrackControlLogoSize, scale, [](QPainter& p) {
        PaintTrackControlLogo(p, {0, 0});
    });
}

} // namespace tobira
