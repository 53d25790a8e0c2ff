// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/views/form_midi_widget.h"

#include "player/form_main.h"
#include "forms/views/pictures.h"
#include "forms/views/list_box.h"
#include "forms/views/view_state.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QToolButton>
#include <QVBoxLayout>

namespace tobira {

FormMidiWidget::FormMidiWidget(TFormMidi& model, ViewHub& hub)
    : FormWidget(model, hub), midi_(model), ListBoxFolder(new ListBox(this)),
      Image1(new QLabel(this)) {
    setMinimumSize(TFormMidi::kMinWidth, TFormMidi::kMinHeight);
    ListBoxFolder->setAccessibleName(QStringLiteral("フォルダとアルバム"));
    auto* top = new QGridLayout;
    for (int i = 0; i < 3; ++i) {
        auto toggle = [this](int index, bool source) {
            auto* b = new QToolButton(this);
            b->setCheckable(true);
            b->setMinimumWidth(48);
            connect(b, &QToolButton::clicked, this, [this, index, source] {
                dispatch([this, index, source] {
                    if (source)
                        midi_.PressSource(index);
                    else
                        midi_.PressOrder(index);
                });
            });
            return b;
        };
        sources_[static_cast<std::size_t>(i)] = toggle(i, true);
        orders_[static_cast<std::size_t>(i)] = toggle(i, false);
        top->addWidget(sources_[static_cast<std::size_t>(i)], 0, i);
        top->addWidget(orders_[static_cast<std::size_t>(i)], 1, i);
    }
    sources_[0]->setObjectName(QStringLiteral("SpeedButtonLst0"));
    orders_[2]->setObjectName(QStringLiteral("SpeedButtonRnd"));
    BitBtnStart = makeButton("BitBtnStart", &TFormMidi::BitBtnStartClick);
    QFont bold = BitBtnStart->font();
    bold.setBold(true);
    BitBtnStart->setFont(bold);
    top->addWidget(BitBtnStart, 0, 3, 2, 1);
    Image1->setPixmap(TrackControlLogoPicture(devicePixelRatioF())
                          .scaled(QSize(40, 40) * devicePixelRatioF(), Qt::KeepAspectRatio,
                                  Qt::SmoothTransformation));
    Image1->installEventFilter(this);
    top->addWidget(Image1, 0, 4, 2, 1);
    top->setColumnStretch(3, 1);

    ListBoxFolder->setObjectName(QStringLiteral("ListBoxFolder"));
    QPalette p = ListBoxFolder->palette();
    p.setColor(QPalette::Base, QColor(128, 128, 128));
    p.setColor(QPalette::Text, Qt::white);
    ListBoxFolder->setPalette(p);
    connect(ListBoxFolder, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        const int row = ListBoxFolder->row(item);
        dispatch([this, row] { midi_.ListBoxFolderClick(row); });
    });
    connect(ListBoxFolder, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        const int row = ListBoxFolder->row(item);
        dispatch([this, row] {
            midi_.ListBoxFolderClick(row);
            midi_.SpeedButtonStartClick();
        });
    });
    ListBoxFolder->onKeyMove = [this](int row) {
        dispatch([this, row] { midi_.ListBoxFolderClick(row); });
    };
    ListBoxFolder->onEnter = [this](int row) {
        dispatch([this, row] {
            midi_.ListBoxFolderClick(row);
            midi_.SpeedButtonStartClick();
        });
    };

    auto* bottom = new QHBoxLayout;
    SpeedButtonAdd = makeButton("SpeedButtonAdd", &TFormMidi::SpeedButtonAddClick);
    SpeedButtonAdd->installEventFilter(this);
    SpeedButtonDel = makeButton("SpeedButtonDel", &TFormMidi::SpeedButtonDelClick);
    SpeedButtonStart = makeButton("SpeedButtonStart", &TFormMidi::SpeedButtonStartClick);
    SpeedButtonClose = makeButton("SpeedButtonClose", &TFormMidi::SpeedButtonCloseClick);
    QFont closeFont = SpeedButtonClose->font();
    closeFont.setBold(true);
    SpeedButtonClose->setFont(closeFont);
    for (QToolButton* b : {SpeedButtonAdd, SpeedButtonDel, SpeedButtonStart})
        bottom->addWidget(b);
    bottom->addStretch();
    bottom->addWidget(SpeedButtonClose);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(3);
    layout->addLayout(top);
    layout->addWidget(ListBoxFolder, 1);
    layout->addLayout(bottom);
}

QToolButton* FormMidiWidget::makeButton(const char* name, void (TFormMidi::*click)()) {
    auto* button = new QToolButton(this);
    button->setObjectName(QString::fromLatin1(name));
    button->setMinimumWidth(44);
    connect(button, &QToolButton::clicked, this,
            [this, click] { dispatch([&model = midi_, click] { (model.*click)(); }); });
    return button;
}

void FormMidiWidget::render() {
    FormWidget::render();
    const bool hints = midi_.ShowHint;
    const ButtonState* sourceStates[] = {&midi_.SpeedButtonLst0, &midi_.SpeedButtonLst1,
                                         &midi_.SpeedButtonLst2};
    const ButtonState* orderStates[] = {&midi_.SpeedButtonNor, &midi_.SpeedButtonNew,
                                        &midi_.SpeedButtonRnd};
    for (std::size_t i = 0; i < 3; ++i) {
        ShowButton(sources_[i], *sourceStates[i], hints);
        ShowButton(orders_[i], *orderStates[i], hints);
    }
    ShowButton(BitBtnStart, midi_.BitBtnStart, hints);
    ShowButton(SpeedButtonAdd, midi_.SpeedButtonAdd, hints);
    ShowButton(SpeedButtonDel, midi_.SpeedButtonDel, hints);
    ShowButton(SpeedButtonStart, midi_.SpeedButtonStart, hints);
    ShowButton(SpeedButtonClose, midi_.SpeedButtonClose, hints);
    QStringList items;
    for (const std::string& entry : midi_.ListBoxFolder)
        items.push_back(FromCp932(entry));
    QStringList shown;
    for (int i = 0; i < ListBoxFolder->count(); ++i)
        shown.push_back(ListBoxFolder->item(i)->text());
    if (shown != items) {
        ListBoxFolder->clear();
        ListBoxFolder->addItems(items);
    }
    if (ListBoxFolder->currentRow() != midi_.ListBoxFolderItemIndex)
        ListBoxFolder->setCurrentRow(midi_.ListBoxFolderItemIndex);
    const QString listTip = hints ? FromCp932(midi_.ListBoxFolderHint) : QString();
    if (ListBoxFolder->toolTip() != listTip)
        ListBoxFolder->setToolTip(listTip);
    Image1->setToolTip(hints ? FromCp932(midi_.Image1Hint) : QString());
    if (Image1->accessibleName().isEmpty())
        Image1->setAccessibleName(FromCp932(midi_.Image1Hint));
}

void FormMidiWidget::closeEvent(QCloseEvent* event) {
    FormWidget::closeEvent(event);
    // The base hid the model; the geometry keys are written as at every closing.
    dispatch([this] { midi_.FormClose(); });
}

void FormMidiWidget::showEvent(QShowEvent* event) {
    FormWidget::showEvent(event);
    dispatch([this] {
        midi_.FormShow();
        midi_.FormActivate();
    });
}

void FormMidiWidget::changeEvent(QEvent* event) {
    FormWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        dispatch([this] { midi_.FormActivate(); });
}

void FormMidiWidget::resizeEvent(QResizeEvent* event) {
    FormWidget::resizeEvent(event);
    if (isVisible())
        midi_.FormResize();
}

bool FormMidiWidget::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (watched == SpeedButtonAdd && mouse->button() == Qt::RightButton) {
            dispatch([this] { midi_.SpeedButtonAddMouseDown(MouseButton::Right); });
            return true;
        }
        if (watched == Image1 && mouse->button() == Qt::LeftButton) {
            dispatch([this] { midi_.Image1Click(); });
            return true;
        }
    }
    return FormWidget::eventFilter(watched, event);
}

} // namespace tobira
