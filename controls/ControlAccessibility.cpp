#include "controls/ControlAccessibility.h"

#include <QAccessibleWidget>
#include <QCoreApplication>

#include "controls/CommandButton.h"
#include "controls/SizerBarBase.h"
#include "controls/UserProgress.h"

namespace {

class ButtonInterface : public QAccessibleWidget {
 public:
  explicit ButtonInterface(CommandButton* button)
      : QAccessibleWidget(button, QAccessible::Button) {}

  QString text(QAccessible::Text t) const override {
    if (t != QAccessible::Name) return QAccessibleWidget::text(t);
    // Picture buttons carry their words as a caption property or a tool tip.
    const QWidget* w = widget();
    if (!w->accessibleName().isEmpty()) return w->accessibleName();
    const QString caption = w->property("text").toString();
    return caption.isEmpty() ? w->toolTip() : caption;
  }

  QAccessible::State state() const override {
    QAccessible::State s = QAccessibleWidget::state();
    const auto* button = static_cast<const CommandButton*>(object());
    if (button->ToggleMode()) {
      s.checkable = true;
      s.checked = button->Value();
    }
    s.pressed = button->Pressed() && !button->ToggleMode();
    return s;
  }

  // The picture inside is drawing, not a part of its own.
  int childCount() const override { return 0; }
  QAccessibleInterface* child(int) const override { return nullptr; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }

  QStringList actionNames() const override {
    return QAccessibleWidget::actionNames() << pressAction();
  }

  void doAction(const QString& name) override {
    if (name == pressAction() && widget()->isEnabled())
      static_cast<CommandButton*>(object())->Activate();
    else
      QAccessibleWidget::doAction(name);
  }
};

class ProgressInterface : public QAccessibleWidget, public QAccessibleValueInterface {
 public:
  explicit ProgressInterface(UserProgress* bar)
      : QAccessibleWidget(bar, QAccessible::ProgressBar) {}

  void* interface_cast(QAccessible::InterfaceType t) override {
    if (t == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
    return QAccessibleWidget::interface_cast(t);
  }

  QString text(QAccessible::Text t) const override {
    const QWidget* w = widget();
    if (t == QAccessible::Name && w->accessibleName().isEmpty()) return QStringLiteral("Progress");
    if (t == QAccessible::Value) return QString::number(Percent()) + QLatin1Char('%');
    return QAccessibleWidget::text(t);
  }

  QVariant currentValue() const override { return Bar()->Value(); }
  void setCurrentValue(const QVariant&) override {}  // read-only
  QVariant maximumValue() const override { return Bar()->Max(); }
  QVariant minimumValue() const override { return Bar()->Min(); }
  QVariant minimumStepSize() const override { return 1; }

 private:
  const UserProgress* Bar() const { return static_cast<const UserProgress*>(object()); }
  int Percent() const {
    const UserProgress* b = Bar();
    return b->Max() > b->Min() ? (b->Value() - b->Min()) * 100 / (b->Max() - b->Min()) : 0;
  }
};

class SizerInterface : public QAccessibleWidget {
 public:
  explicit SizerInterface(SizerBarBase* bar) : QAccessibleWidget(bar, QAccessible::Splitter) {}

  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
      return QStringLiteral("Splitter");
    return QAccessibleWidget::text(t);
  }
};

// A widget made without a parent may be asked for before it is placed in a window: its role
// follows what it is when asked.
class PlainWidgetInterface : public QAccessibleWidget {
 public:
  explicit PlainWidgetInterface(QWidget* w) : QAccessibleWidget(w, QAccessible::Client) {}
  QAccessible::Role role() const override {
    return widget()->isWindow() ? QAccessible::Window : QAccessibleWidget::role();
  }
};

}  // namespace

namespace ControlAccessibility {

void Install() {
  static const bool installed = [] {
    QAccessible::installFactory(&Factory);
    return true;
  }();
  (void)installed;
}

QAccessibleInterface* Factory(const QString& className, QObject* object) {
  if (!object || !object->isWidgetType()) return nullptr;
  if (className == QLatin1String("CommandButton"))
    return new ButtonInterface(static_cast<CommandButton*>(object));
  if (className == QLatin1String("UserProgress"))
    return new ProgressInterface(static_cast<UserProgress*>(object));
  if (className == QLatin1String("SizerBarBase"))
    return new SizerInterface(static_cast<SizerBarBase*>(object));
  // A window built straight on a plain widget would be read as a client area ("filler").
  if (className == QLatin1String(object->metaObject()->className()) &&
      object->metaObject()->superClass() == &QWidget::staticMetaObject)
    return new PlainWidgetInterface(static_cast<QWidget*>(object));
  return nullptr;
}

// Windows may be read before any control of this kind is made.
Q_COREAPP_STARTUP_FUNCTION(Install)

}  // namespace ControlAccessibility
