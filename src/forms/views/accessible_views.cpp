// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/views/accessible_views.h"

#include "forms/views/click_label.h"
#include "forms/views/form_widget.h"

#include <QAccessibleWidget>

namespace tobira {
namespace {

// A window of the program: its caption names it (the borderless main window its accessible
// name), and a modal one is a dialog.
class WindowAccessible final : public QAccessibleWidget {
  public:
    explicit WindowAccessible(QWidget* window) : QAccessibleWidget(window, QAccessible::Window) {}
    QAccessible::Role role() const override {
        return widget()->isModal() ? QAccessible::Dialog : QAccessible::Window;
    }
};

// A level read out as a value ("7 / 10", or the state that overrides it) rather than as the
// marks that draw it.
class LevelAccessible final : public QAccessibleWidget, public QAccessibleValueInterface {
  public:
    explicit LevelAccessible(ClickLabel* label)
        : QAccessibleWidget(label, QAccessible::ProgressBar), label_(label) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    QString text(QAccessible::Text t) const override {
        if (t != QAccessible::Value)
            return QAccessibleWidget::text(t);
        const LevelReading level = label_->level();
        const QString value = QStringLiteral("%1 / %2").arg(level.value).arg(level.maximum);
        return level.state.isEmpty()
                   ? value
                   : level.state + QStringLiteral("（") + value + QStringLiteral("）");
    }
    QVariant currentValue() const override { return label_->level().value; }
    void setCurrentValue(const QVariant&) override {} // read-only: the buttons change it
    QVariant maximumValue() const override { return label_->level().maximum; }
    QVariant minimumValue() const override { return 0; }
    QVariant minimumStepSize() const override { return 1; }

  private:
    ClickLabel* label_;
};

// Drawing only: reported as not there.
class DecorationAccessible final : public QAccessibleWidget {
  public:
    explicit DecorationAccessible(QWidget* widget)
        : QAccessibleWidget(widget, QAccessible::Graphic) {}
    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.invisible = true;
        return state;
    }
};

} // namespace

QAccessibleInterface* AccessibleView(const QString& className, QObject* object) {
    Q_UNUSED(className);
    if (auto* window = qobject_cast<FormWidget*>(object); window && window->isWindow())
        return new WindowAccessible(window);
    if (auto* label = qobject_cast<ClickLabel*>(object)) {
        if (label->level)
            return new LevelAccessible(label);
        if (label->decoration)
            return new DecorationAccessible(label);
    }
    return nullptr;
}

} // namespace tobira
