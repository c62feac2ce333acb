#include "optimizer/AutoQualityButton.h"

#include <QActionGroup>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QSlider>

#include "engine/clsImage.h"

namespace {

struct LevelItem {
  AutoQuality::Level level;
  const char* name;  // the language table's key
  const char* text;
};
constexpr LevelItem kItems[] = {
    {AutoQuality::Level::kMedium, "mnuAutoMedium", "Medium"},
    {AutoQuality::Level::kHigh, "mnuAutoHigh", "High"},
    {AutoQuality::Level::kVisuallyLossless, "mnuAutoLossless", "Visually lossless"},
};

}  // namespace

AutoQualityButton::AutoQualityButton(QSlider* slider, Picture picture, QWidget* parent)
    : QToolButton(parent), slider_(slider), picture_(std::move(picture)) {
  setObjectName(QStringLiteral("cmdAutoQuality"));
  setText(QStringLiteral("Auto"));
  setToolTip(QStringLiteral("The lowest quality at which the picture still looks the same"));
  setPopupMode(QToolButton::MenuButtonPopup);
  auto* menu = new QMenu(this);
  auto* group = new QActionGroup(menu);
  for (const LevelItem& item : kItems) {
    QAction* action = menu->addAction(QString::fromLatin1(item.text));
    action->setObjectName(QString::fromLatin1(item.name));
    action->setCheckable(true);
    action->setChecked(item.level == level_);
    group->addAction(action);
    // Choosing a level searches at once: that is what the user asked for.
    connect(action, &QAction::triggered, this, [this, level = item.level] {
      SetLevel(level);
      Apply();
    });
  }
  setMenu(menu);
  // A Tab stop of its own, so that its menu can be reached without a mouse (see keyPressEvent).
  setFocusPolicy(Qt::StrongFocus);
  // Checkable (the batch options): ticking it also shows the quality for the picture at hand.
  connect(this, &QToolButton::clicked, this, [this] {
    if (!isCheckable() || isChecked()) Apply();
  });
}

void AutoQualityButton::keyPressEvent(QKeyEvent* event) {
  // The keys a combo box opens its list with open the level menu.
  const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
  if (event->key() == Qt::Key_F4 ||
      (event->key() == Qt::Key_Down && (mods == Qt::NoModifier || mods == Qt::AltModifier))) {
    showMenu();
    return;
  }
  QToolButton::keyPressEvent(event);
}

void AutoQualityButton::SetLevel(AutoQuality::Level level) {
  level_ = level;
  const QList<QAction*> actions = menu()->actions();
  for (int i = 0; i < actions.size() && i < int(std::size(kItems)); ++i)
    actions[i]->setChecked(kItems[i].level == level);
}

bool AutoQualityButton::Apply() {
  const std::shared_ptr<clsImage> picture = picture_ ? picture_() : nullptr;
  if (!picture || picture->hDC() == 0) return false;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  AutoQuality::Found found;
  const bool ok = AutoQuality::Find(picture->Pixels(), level_, found, slider_->maximum());
  QApplication::restoreOverrideCursor();
  if (ok) slider_->setValue(std::max(found.quality, slider_->minimum()));
  return ok;
}
