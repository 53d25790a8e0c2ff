// SPDX-License-Identifier: GPL-3.0-or-later
#include "cd_windows/views/form_manage_widget.h"

#include "forms/views/list_box.h"
#include "forms/views/view_state.h"

#include "text/cp932_convert.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTimer>
#include <QToolButton>

namespace tobira {
namespace {

QLabel* Caption(QWidget* parent, const char* utf8, QRect geometry) {
    auto* label = new QLabel(QString::fromUtf8(utf8), parent);
    label->setGeometry(geometry);
    return label;
}

// Items and selection of a list box; the items are replaced only when they changed.
void ShowList(QListWidget* view, const TFormManage::ListBox& list,
              std::vector<std::string>& shown) {
    const QSignalBlocker quiet(view);
    if (shown != list.Items) {
        shown = list.Items;
        view->clear();
        for (const std::string& item : list.Items)
            view->addItem(FromCp932(item));
    }
    if (list.ItemIndex < 0) {
        view->clearSelection();
        view->setCurrentRow(-1);
    } else if (view->currentRow() != list.ItemIndex) {
        view->setCurrentRow(list.ItemIndex);
    } else if (!view->currentItem()->isSelected()) {
        view->currentItem()->setSelected(true);
    }
}

} // namespace

FormManageWidget::FormManageWidget(TFormManage& model, ViewHub& hub)
    : FormWidget(model, hub), manage_(model), ListBoxManage(new ListBox(this)),
      ListBoxTitle(new ListBox(this)), EditManage(new QLineEdit(this)),
      PanelTITLE(new QLabel(this)), SpeedButtonCDID(new QToolButton(this)),
      SpeedButtonEDIT(new QToolButton(this)), SpeedButtonDEL(new QToolButton(this)),
      ButtonCLOSE(new QPushButton(QString::fromUtf8("閉じる"), this)) {
    setObjectName("FormManage");
    ListBoxManage->setAccessibleName(QStringLiteral("パターンファイルの行"));
    ListBoxTitle->setAccessibleName(QStringLiteral("パターンの名前"));
    EditManage->setAccessibleName(QStringLiteral("選んだ行"));
    Caption(this, "ＣＤ番号から検索", {8, 6, 140, 18});
    SpeedButtonCDID->setObjectName("SpeedButtonCDID");
    SpeedButtonCDID->setGeometry(8, 24, 140, 26);
    Caption(this, "パターンタイトル（Pattern Title）", {158, 6, 354, 18});
    PanelTITLE->setObjectName("PanelTITLE");
    PanelTITLE->setGeometry(158, 24, 354, 26);
    PanelTITLE->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    PanelTITLE->setIndent(4);

    // Records line up column by column in a fixed-pitch font.
    QFont mono(QStringLiteral("IPAGothic"));
    mono.setStyleHint(QFont::Monospace);
    mono.setPixelSize(13);
    ListBoxManage->setObjectName("ListBoxManage");
    ListBoxManage->setGeometry(8, 58, 504, 150);
    ListBoxManage->setFont(mono);
    EditManage->setObjectName("EditManage");
    EditManage->setGeometry(8, 214, 504, 24);
    EditManage->setFont(mono);
    EditManage->setAutoFillBackground(true);
    EditManage->installEventFilter(this);

    SpeedButtonEDIT->setObjectName("SpeedButtonEDIT");
    SpeedButtonEDIT->setGeometry(8, 244, 80, 26);
    SpeedButtonDEL->setObjectName("SpeedButtonDEL");
    SpeedButtonDEL->setGeometry(94, 244, 80, 26);

    Caption(this, "パターンタイトルから検索", {8, 278, 300, 18});
    ListBoxTitle->setObjectName("ListBoxTitle");
    ListBoxTitle->setGeometry(8, 296, 400, 96);
    ButtonCLOSE->setObjectName("ButtonCLOSE");
    ButtonCLOSE->setGeometry(432, 366, 80, 26);

    connect(ListBoxManage, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        const int row = ListBoxManage->row(item);
        dispatch([this, row] { manage_.ListBoxManageClick(row); });
    });
    connect(ListBoxTitle, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        const int row = ListBoxTitle->row(item);
        dispatch([this, row] { manage_.ListBoxTitleClick(row); });
    });
    ListBoxManage->onKeyMove = [this](int row) {
        dispatch([this, row] { manage_.ListBoxManageClick(row); });
    };
    ListBoxTitle->onKeyMove = [this](int row) {
        dispatch([this, row] { manage_.ListBoxTitleClick(row); });
    };
    connect(EditManage, &QLineEdit::textEdited, this, [this](const QString& text) {
        const TypedText typed = TryUtf8ToCp932(text.toStdString());
        dispatch([this, &typed] { manage_.EditManageChange(typed); });
    });
    connect(SpeedButtonCDID, &QToolButton::clicked, this,
            [this] { dispatch([this] { manage_.SpeedButtonCDIDClick(); }); });
    connect(SpeedButtonEDIT, &QToolButton::clicked, this,
            [this] { dispatch([this] { manage_.SpeedButtonEDITClick(); }); });
    connect(SpeedButtonDEL, &QToolButton::clicked, this,
            [this] { dispatch([this] { manage_.SpeedButtonDELClick(); }); });
    connect(ButtonCLOSE, &QPushButton::clicked, this,
            [this] { dispatch([this] { manage_.ButtonCLOSEClick(); }); });
}

bool FormManageWidget::eventFilter(QObject* watched, QEvent* event) {
    // A click in the edit field selects its whole text (after the line edit placed the cursor).
    if (watched == EditManage && event->type() == QEvent::MouseButtonRelease)
        QTimer::singleShot(0, EditManage, [edit = EditManage] { edit->selectAll(); });
    return FormWidget::eventFilter(watched, event);
}

void FormManageWidget::render() {
    FormWidget::render();
    ShowList(ListBoxManage, manage_.ListBoxManage, shownLines_);
    ShowList(ListBoxTitle, manage_.ListBoxTitle, shownTitles_);

    const QString edit = FromCp932(manage_.EditManage);
    // Typing keeps the field's own text; text the model refused is replaced by the model's.
    if (TryUtf8ToCp932(EditManage->text().toStdString()) != manage_.EditManage)
        EditManage->setText(edit);
    const Color c = manage_.EditManageColor;
    const QColor background(c.r, c.g, c.b);
    if (EditManage->palette().color(QPalette::Base) != background) {
        QPalette p = EditManage->palette();
        p.setColor(QPalette::Base, background);
        p.setColor(QPalette::Text, Qt::black);
        EditManage->setPalette(p);
    }

    const QString title = FromCp932(manage_.PanelTITLE);
    if (PanelTITLE->text() != title)
        PanelTITLE->setText(title);
    ShowButton(SpeedButtonCDID, manage_.SpeedButtonCDID, true);
    ShowButton(SpeedButtonEDIT, manage_.SpeedButtonEDIT, true);
    ShowButton(SpeedButtonDEL, manage_.SpeedButtonDEL, true);
}

} // namespace tobira
