#include "controls/SizerBarBase.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "controls/ControlAccessibility.h"
#include "controls/modControls.h"
#include "engine/Rounding.h"

SizerBarBase::SizerBarBase(Qt::Orientation orientation, QWidget* parent)
    : QWidget(parent), orientation_(orientation) {
  setFocusPolicy(Qt::TabFocus);
  ControlAccessibility::Install();
  if (orientation_ == Qt::Vertical) {
    setFixedWidth(kThickness);
    setCursor(Qt::SplitHCursor);
  } else {
    setFixedHeight(kThickness);
    setCursor(Qt::SplitVCursor);
  }
}

int SizerBarBase::AlongAxis(const QMouseEvent* event) const {
  const QPointF p = event->position();
  return Rounding::HalfEven(orientation_ == Qt::Vertical ? p.x() : p.y());
}

void SizerBarBase::paintEvent(QPaintEvent*) {
  // A two-pixel raised line: light above or left of dark.
  QPainter painter(this);
  const QRect client = rect();
  if (orientation_ == Qt::Vertical) {
    const int left = modControls::SizerLineStart(client.width());
    painter.setPen(palette().color(QPalette::Light));
    painter.drawLine(left, client.top(), left, client.bottom());
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawLine(left + 1, client.top(), left + 1, client.bottom());
  } else {
    const int top = modControls::SizerLineStart(client.height());
    painter.setPen(palette().color(QPalette::Light));
    painter.drawLine(client.left(), top, client.right(), top);
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawLine(client.left(), top + 1, client.right(), top + 1);
  }
  if (hasFocus()) {
    painter.setPen(QPen(palette().color(QPalette::Highlight), 1, Qt::DotLine));
    painter.drawRect(client.adjusted(0, 0, -1, -1));
  }
}

void SizerBarBase::keyPressEvent(QKeyEvent* event) {
  const bool vertical = orientation_ == Qt::Vertical;
  const int back = vertical ? Qt::Key_Left : Qt::Key_Up;
  const int forward = vertical ? Qt::Key_Right : Qt::Key_Down;
  if (event->key() == back) {
    emit Dragged(-kKeyStep);
  } else if (event->key() == forward) {
    emit Dragged(kKeyStep);
  } else {
    QWidget::keyPressEvent(event);
  }
}

void SizerBarBase::focusInEvent(QFocusEvent* event) {
  update();
  QWidget::focusInEvent(event);
}

void SizerBarBase::focusOutEvent(QFocusEvent* event) {
  update();
  QWidget::focusOutEvent(event);
}

void SizerBarBase::mousePressEvent(QMouseEvent* event) {
  dragging_ = true;
  pressPosition_ = AlongAxis(event);
}

void SizerBarBase::mouseMoveEvent(QMouseEvent* event) {
  if (dragging_) emit Dragged(AlongAxis(event) - pressPosition_);
}

void SizerBarBase::mouseReleaseEvent(QMouseEvent*) { dragging_ = false; }
