// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The pictures the windows carry, drawn in code. Each painter works in logical pixels, so a view
// that paints them in its paintEvent is sharp at any device pixel ratio; the *Picture functions
// make pixmaps of them at a given ratio for labels and for tests.

#include <QPixmap>
#include <QRectF>

class QPainter;

namespace tobira {

enum class ButtonFace { Back, Next, Play, Pause, Stop, Power, VolumeDown, VolumeUp };

// The logical sizes the windows lay out with.
inline constexpr QSize kLogoSize{100, 12}; // ImageCD, ImageMID
inline constexpr QSize kLiveSize{40, 10};  // ImageLIVE
inline constexpr QSize kTrackControlLogoSize{48, 48};

// A transport button: face plate and symbol. `down` draws it pressed in.
void PaintButtonFace(QPainter& painter, const QRectF& rect, ButtonFace face, bool down,
                     bool enabled = true);
// The main window's body behind the strip: black, with a thin frame and the rule above the
// buttons at `ruleY` (no rule when negative).
void PaintBodyPanel(QPainter& painter, const QRectF& rect, qreal ruleY);
// The CD mode logo "TOBIRA" and the MIDI mode logo "KANADE", each filling kLogoSize at `origin`.
void PaintCdLogo(QPainter& painter, QPointF origin);
void PaintMidiLogo(QPainter& painter, QPointF origin);
// The live mark, kLiveSize at `origin`.
void PaintLiveMark(QPainter& painter, QPointF origin);
// The track control window's logo, kTrackControlLogoSize at `origin`.
void PaintTrackControlLogo(QPainter& painter, QPointF origin);

QPixmap ButtonFacePicture(ButtonFace face, QSize size, qreal scale, bool down = false);
QPixmap CdLogoPicture(qreal scale);
QPixmap MidiLogoPicture(qreal scale);
QPixmap LivePicture(qreal scale);
QPixmap TrackControlLogoPicture(qreal scale);

} // namespace tobira
