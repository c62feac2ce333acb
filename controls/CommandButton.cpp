#include "controls/CommandButton.h"

#include <QCursor>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "controls/ButtonBorder.h"
#include "controls/ButtonPicture.h"
#include "controls/ControlAccessibility.h"
#include "controls/Dialogs.h"
#include "controls/modControls.h"

namespace {
constexpr int kTimerIntervalMs = 10;

bool HourglassShown() {
  const QCursor* c = QGuiApplication::overrideCursor();
  return c && c->shape() == Qt::WaitCursor;
}
}  // namespace

CommandButton::CommandButton(QWidget* parent)
    : QWidget(parent), picture_(new ButtonPicture(this)), repeater_(kTimerIntervalMs) {
  setMouseTracking(true);  // hot-track needs moves without a button held
  // Tab reaches the button; a click leaves the focus where the user had it.
  setFocusPolicy(Qt::TabFocus);
  ControlAccessibility::Install();
  buttonTimer_.setInterval(kTimerIntervalMs);
  visibleTimer_.setInterval(kTimerIntervalMs);
  connect(&buttonTimer_, &QTimer::timeout, this, &CommandButton::OnButtonTimer);
  connect(&visibleTimer_, &QTimer::timeout, this, &CommandButton::OnVisibleTimer);
  picture_->SetFaceColor(BackColor());
  picture_->hide();
}

QColor CommandButton::BackColor() const {
  return backColor_.isValid() ? backColor_ : palette().color(QPalette::Button);
}

void CommandButton::SetBackColor(const QColor& colour) {
  backColor_ = colour;
  picture_->SetFaceColor(BackColor());
  update();
}

bool CommandButton::PictureBorder() const { return picture_->Framed(); }

void CommandButton::SetPictureBorder(bool framed) {
  picture_->SetFramed(framed);
  PlacePicture();
}

void CommandButton::SetValue(bool value) {
  if (toggleMode_) {
    if (value != pressed_) SetPressed(value);
  } else if (value) {
    MsgBox(this, "In non-toggle mode, value can't be set!", Dialogs::Exclamation);  // OK only
  }
  ApplyBorderVisibility();
}

void CommandButton::SetToggleMode(bool on) {
  toggleMode_ = on;
  if (on) {
    generateClicks_ = false;
  } else if (pressed_) {
    SetPressed(false);
  }
  ApplyBorderVisibility();
}

void CommandButton::SetHideBorder(bool on) {
  hideBorder_ = on;
  ApplyBorderVisibility();
}

QPixmap CommandButton::Picture() const { return picture_->Picture(); }

void CommandButton::SetPicture(const QPixmap& picture) {
  picture_->SetPicture(picture);
  PlacePicture();
}

void CommandButton::SetEnabled(bool on) {
  if (on != isEnabled()) setEnabled(on);
}

void CommandButton::SetGenerateClicks(bool on) {
  generateClicks_ = on;
  // Through the setter, so that a toggled-on button does not stay sunken.
  if (on && toggleMode_) SetToggleMode(false);
}

QSize CommandButton::sizeHint() const {
  const QSize pic = picture_->size();
  return QSize(qMax(24, pic.width() + 8), qMax(24, pic.height() + 8));
}

void CommandButton::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), BackColor());
  if (borderShown_) {
    for (const ButtonBorder::Segment& s : ButtonBorder::Lines(size(), pressed_)) {
      painter.setPen(palette().color(ButtonBorder::Role(s.index)));
      painter.drawLine(s.line);
    }
  }
  if (hasFocus()) {
    // A plain ring in the highlight colour inside the border: the style's own focus frame is
    // too faint on the flat face.
    painter.setPen(palette().color(QPalette::Highlight));
    painter.drawRect(rect().adjusted(2, 2, -3, -3));
    painter.drawRect(rect().adjusted(3, 3, -4, -4));
  }
}

void CommandButton::Activate() {
  if (toggleMode_) SetValue(!pressed_);
  emit Click();
}

void CommandButton::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
      if (event->modifiers() & ~Qt::KeypadModifier) break;
      Activate();
      return;
    default:
      break;
  }
  QWidget::keyPressEvent(event);
}

void CommandButton::focusInEvent(QFocusEvent* event) {
  update();  // the ring shows where the focus is, with or without the hot-track border
  QWidget::focusInEvent(event);
}

void CommandButton::focusOutEvent(QFocusEvent* event) {
  update();
  QWidget::focusOutEvent(event);
}

void CommandButton::resizeEvent(QResizeEvent*) { PlacePicture(); }

void CommandButton::changeEvent(QEvent* event) {
  if (event->type() == QEvent::EnabledChange) {
    if (!isEnabled()) {
      // A disabled button never sees the release: end the press here, or it would
      // stay sunken and keep repeating clicks.
      buttonTimer_.stop();
      leftDown_ = false;
      if (!toggleMode_ && pressed_) SetPressed(false);
    }
    picture_->update();
  } else if (event->type() == QEvent::PaletteChange) {
    picture_->SetFaceColor(BackColor());
  }
  QWidget::changeEvent(event);
}

void CommandButton::mousePressEvent(QMouseEvent* event) {
  const int button = modControls::ButtonCode(event->button());
  const int shift = modControls::ShiftCode(event->modifiers());
  const QPointF p = event->position();
  if (event->button() != Qt::LeftButton) {
    emit MouseDown(button, shift, p.x(), p.y());
    leftDown_ = false;
    return;
  }
  leftDown_ = true;
  SetPressed(!pressed_);
  repeater_.Reset();
  buttonTimer_.start();
  lastOver_ = true;
  emit MouseDown(button, shift, p.x(), p.y());
  if (generateClicks_) emit Click();
}

void CommandButton::mouseReleaseEvent(QMouseEvent* event) {
  const int button = modControls::ButtonCode(event->button());
  const int shift = modControls::ShiftCode(event->modifiers());
  const QPointF p = event->position();
  if (event->button() != Qt::LeftButton) {
    emit MouseUp(button, shift, p.x(), p.y());
    leftDown_ = false;
    return;
  }
  buttonTimer_.stop();
  const bool inside = Contains(p);
  // The pointer may have left or come back since the last tick.
  FollowPointer(inside);
  if (!toggleMode_ && pressed_) SetPressed(false);
  emit MouseUp(button, shift, p.x(), p.y());
  if (inside && leftDown_ && !generateClicks_) emit Click();
}

void CommandButton::mouseMoveEvent(QMouseEvent* event) {
  const QPointF p = event->position();
  emit MouseMove(modControls::ButtonCode(event->buttons()),
                 modControls::ShiftCode(event->modifiers()), p.x(), p.y());
  if (!HourglassShown()) unsetCursor();
  if (!borderShown_ && HitTest()) {
    ShowBorder(true);
    visibleTimer_.start();
    raise();
    emit MouseEnter();
  }
}

void CommandButton::SetPressed(bool pressed) {
  pressed_ = pressed;
  PlacePicture();
  update();
}

void CommandButton::PlacePicture() {
  if (picture_->Picture().isNull()) {
    picture_->hide();
    return;
  }
  picture_->move(ButtonBorder::PictureOrigin(size(), picture_->size(), pressed_));
  picture_->show();
}

void CommandButton::ApplyBorderVisibility() {
  ShowBorder((toggleMode_ && pressed_) || !hideBorder_);
}

void CommandButton::ShowBorder(bool shown) {
  if (borderShown_ == shown) return;
  borderShown_ = shown;
  update();
}

bool CommandButton::Contains(QPointF local) const {
  return local.x() >= 0 && local.x() <= width() && local.y() >= 0 && local.y() <= height();
}

bool CommandButton::HitTest() const { return Contains(mapFromGlobal(QCursor::pos())); }

void CommandButton::FollowPointer(bool over) {
  if (over == lastOver_) return;
  lastOver_ = over;
  SetPressed(!pressed_);  // pops up while dragged off, sinks again on the way back
}

void CommandButton::OnButtonTimer() {
  FollowPointer(HitTest());
  if (generateClicks_ && repeater_.Tick(lastOver_)) emit Click();
}

void CommandButton::OnVisibleTimer() {
  if (!hideBorder_) {
    // Nothing left to track: without hot-track the border stays.
    ShowBorder(true);
    visibleTimer_.stop();
    return;
  }
  if (!(toggleMode_ && pressed_) && !HitTest()) {
    ShowBorder(false);
    visibleTimer_.stop();
    emit MouseExit();
    return;
  }
  ShowBorder(true);
}
