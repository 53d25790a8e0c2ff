// SPDX-License-Identifier: GPL-3.0-or-later
#include "midi_windows/views/form_lyrics_widget.h"

#include "forms/views/view_state.h"

#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>

namespace tobira {
namespace {

QString Css(Color c) {
    return QStringLiteral("#%1%2%3")
        .arg(c.r, 2, 16, QLatin1Char('0'))
        .arg(c.g, 2, 16, QLatin1Char('0'))
        .arg(c.b, 2, 16, QLatin1Char('0'));
}

QLabel* LyricLabel(QWidget* parent, const char* name, const char* accessibleName) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setAccessibleName(QString::fromUtf8(accessibleName));
    label->setTextFormat(Qt::RichText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // Reachable by Tab, so that a screen reader can read the line.
    label->setFocusPolicy(Qt::TabFocus);
    return label;
}

} // namespace

FormLyricsWidget::FormLyricsWidget(TFormLyrics& model, ViewHub& hub)
    : FormWidget(model, hub), lyrics_(model), TimerLyrics(new QTimer(this)),
      LabelLine(LyricLabel(this, "LabelLine", "歌っている行")),
      LabelNext(LyricLabel(this, "LabelNext", "次の行")) {
    setAccessibleName(QStringLiteral("ＭＩＤＩ 歌詞"));
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::black);
    setPalette(p);
    setAutoFillBackground(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 6, 10, 6);
    layout->addWidget(LabelLine);
    layout->addWidget(LabelNext);
    TimerLyrics->setInterval(TFormLyrics::kTickMs);
    connect(TimerLyrics, &QTimer::timeout, this,
            [this] { dispatch([this] { lyrics_.TimerLyricsTimer(); }); });
}

void FormLyricsWidget::keepTimersInStep() {
    keepInStep(*TimerLyrics, lyrics_.TimerLyricsEnabled);
}

void FormLyricsWidget::render() {
    FormWidget::render();
    keepTimersInStep();
    QFont font(FromCp932(lyrics_.LyricsFont.name), lyrics_.LyricsFont.size);
    QFont large = font;
    large.setPointSize(lyrics_.LyricsFont.size + 4);
    if (LabelLine->font() != large)
        LabelLine->setFont(large);
    if (LabelNext->font() != font)
        LabelNext->setFont(font);
    // The sung part in the line's colour, the rest still to come in white.
    const std::string& line = lyrics_.LabelLine.Caption;
    const std::size_t sung = std::min(lyrics_.LabelLineSung, line.size());
    const QString lineHtml =
        QStringLiteral("<span style=\"color:%1\">%2</span><span style=\"color:%3\">%4</span>")
            .arg(Css(lyrics_.LabelLine.Font), FromCp932(line.substr(0, sung)).toHtmlEscaped(),
                 Css(colors::White), FromCp932(line.substr(sung)).toHtmlEscaped());
    if (LabelLine->text() != lineHtml) {
        LabelLine->setText(lineHtml);
        LabelLine->setAccessibleDescription(FromCp932(line));
    }
    const QString nextHtml =
        QStringLiteral("<span style=\"color:%1\">%2</span>")
            .arg(Css(lyrics_.LabelNext.Font), FromCp932(lyrics_.LabelNext.Caption).toHtmlEscaped());
    if (LabelNext->text() != nextHtml) {
        LabelNext->setText(nextHtml);
        LabelNext->setAccessibleDescription(FromCp932(lyrics_.LabelNext.Caption));
    }
}

} // namespace tobira
