#include "windows/form_msg_widget.h"

#include "text/cp932_convert.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>

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
    : FormWidget(model, hub), msg_(model), Image1(new QLabel(this)),
      LabelMessage(new QLabel(this)) {
    Image1->setPixmap(DoorPicture(devicePixelRatioF()));
    LabelMessage->setWordWrap(true);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(Image1);
    layout->addWidget(LabelMessage, 1);
}

void FormMsgWidget::render() {
    FormWidget::render();
    LabelMessage->setText(QString::fromStdString(Cp932ToUtf8(msg_.LabelMessage)));
}

void FormMsgWidget::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        dispatch([this] { msg_.Image1Click(); });
}

} // namespace tobira
