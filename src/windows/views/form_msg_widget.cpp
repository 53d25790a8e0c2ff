// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/views/form_msg_widget.h"

#include "text/cp932_convert.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QVBoxLayout>

namespace tobira {
namespace {

// A sliding door (tobira) ajar, with light coming through.
QPixmap DoorPicture(qreal scale) {
    QPixmap pixmap(QSize(64, 96) * scale);
    pixmap.setDevicePixelRatio(scale);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(QRectF(4, 4, 56, 88), QColor(255, 240, 180));
    p.setPen(QPen(QColor(90, 60, 30), 3));
    p.setBrush(QColor(150, 100, 50));
    p.drawRect(QRectF(4, 4, 40, 88));
    p.setPen(QPen(QColor(90, 60, 30), 1.5));
    for (int y = 20; y < 92; y += 16)
        p.drawLine(QPointF(8, y), QPointF(40, y));
    p.setBrush(QColor(230, 200, 80));
    p.drawEllipse(QPointF(38, 50), 2.5, 2.5);
    return pixmap;
}

} // namespace

FormMsgWidget::FormMsgWidget(TFormMsg& model, ViewHub& hub)
    : FormWidget(model, hub), msg_(model), Image1(new QLabel(this)), LabelMessage(new QLabel(this)),
      LabelFacts(new QLabel(this)), EditFolder(new QLineEdit(this)),
      LabelLicence(new QLabel(this)) {
    EditFolder->setAccessibleName(QStringLiteral("プログラムフォルダ"));
    Image1->setPixmap(DoorPicture(devicePixelRatioF()));
    Image1->setObjectName(QStringLiteral("Image1"));
    // The picture a click turns to the next message, named after the window it stands for.
    Image1->setAccessibleName(QString::fromStdString(Cp932ToUtf8(model.Caption)));
    LabelMessage->setObjectName(QStringLiteral("LabelMessage"));
    LabelMessage->setWordWrap(true);
    LabelFacts->setTextInteractionFlags(Qt::TextSelectableByMouse);
    LabelFacts->setObjectName(QStringLiteral("LabelFacts"));
    EditFolder->setReadOnly(true);
    EditFolder->setObjectName(QStringLiteral("EditFolder"));
    LabelLicence->setWordWrap(true);
    LabelLicence->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* top = new QHBoxLayout;
    top->addWidget(Image1);
    top->addWidget(LabelMessage, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(LabelFacts);
    auto* folder = new QHBoxLayout;
    folder->addWidget(new QLabel(QString::fromUtf8("フォルダ:"), this));
    folder->addWidget(EditFolder, 1);
    layout->addLayout(folder);
    layout->addWidget(LabelLicence);
    layout->addStretch();
}

void FormMsgWidget::render() {
    FormWidget::render();
    LabelMessage->setText(QString::fromStdString(Cp932ToUtf8(msg_.LabelMessage)));
    const AboutFacts& about = msg_.About;
    auto text = [](const std::string& cp932) { return QString::fromStdString(Cp932ToUtf8(cp932)); };
    const QString facts = text(msg_.LabelVersion) + QStringLiteral("\nQt ") + text(about.Qt) +
                          QStringLiteral(" / FluidSynth ") + text(about.FluidSynth) +
                          QStringLiteral(" / libcdio ") + text(about.Libcdio) +
                          QStringLiteral(" / SDL2 ") + text(about.Sdl2) +
                          QString::fromUtf8("\nサウンドフォント: ") + text(about.SoundFont) +
                          QString::fromUtf8("\nＣＤデバイス: ") + text(about.CdDevice);
    if (LabelFacts->text() != facts)
        LabelFacts->setText(facts);
    if (EditFolder->text() != text(about.Folder))
        EditFolder->setText(text(about.Folder));
    LabelLicence->setText(text(msg_.LabelLicence));
}

void FormMsgWidget::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        dispatch([this] { msg_.Image1Click(); });
}

void FormMsgWidget::showEvent(QShowEvent* event) {
    FormWidget::showEvent(event);
    dispatch([this] { msg_.FormShow(); });
}

} // namespace tobira
