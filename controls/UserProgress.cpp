#include "controls/UserProgress.h"

#include <QAccessible>
#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>

#include "controls/ControlAccessibility.h"
#include "controls/modControls.h"
#include "core/modWinApi.h"

UserProgress::UserProgress(QWidget* parent) : QFrame(parent), label_(new QLabel(this)) {
  setFrameStyle(QFrame::Panel | QFrame::Sunken);
  setLineWidth(1);
  setAutoFillBackground(true);
  label_->setObjectName("lblPercent");
  label_->setAlignment(Qt::AlignCenter);
  label_->setAttribute(Qt::WA_TransparentForMouseEvents);  // the control takes the mouse
  ControlAccessibility::Install();
  ApplyColours();
  value_ = min_;
  SetValue(0);
}

void UserProgress::SetValue(int value) {
  value_ = value;
  Redraw();
  if (lastDrawn_ == value_) return;
  lastDrawn_ = value_;
  QAccessibleValueChangeEvent changed(this, value_);
  QAccessible::updateAccessibility(&changed);
  emit ValueChange(value_);
}

void UserProgress::UseDesktopColours() {
  // The application's palette: this control's own already holds the fixed colours.
  const QPalette desktop = QApplication::palette(this);
  SetBarColor(desktop.color(QPalette::Highlight));
  SetTextColor(desktop.color(QPalette::WindowText));
  SetBkColor(desktop.color(QPalette::Window));
  ApplyColours();
}

QColor UserProgress::BackColor() const { return palette().color(QPalette::Window); }

void UserProgress::SetBackColor(const QColor& colour) {
  QPalette pal = palette();
  pal.setColor(QPalette::Window, colour);
  setPalette(pal);
}

void UserProgress::SetText(const QString& text) {
  barText_ = text;
  label_->setText(text);
  label_->show();
}

void UserProgress::Clear() {
  label_->hide();
  value_ = min_;
}

QRect UserProgress::BarRect() const {
  if (!barVisible_) return {};
  const QRect inner = contentsRect();
  return QRect(inner.left(), inner.top(), barWidth_, inner.height());
}

void UserProgress::Redraw() {
  ApplyColours();
  const int innerWidth = contentsRect().width();
  if (max_ <= min_) {
    barVisible_ = false;
  } else if (value_ > min_) {
    barVisible_ = true;
    if (value_ < max_) {
      UpdateText();
      barWidth_ = modControls::ProgressBarWidth(value_, min_, max_, innerWidth);
    } else {
      value_ = max_;
      UpdateText();
      barWidth_ = innerWidth;
    }
  } else {
    value_ = min_;
    if (barText_ == "%") label_->hide();
    barVisible_ = false;
  }
  update();
}

void UserProgress::UpdateText() {
  if (barText_ == "%") {
    const int percent = modControls::ProgressPercent(value_, min_, max_);
    label_->setText(QString::number(percent) + "%");
    label_->setVisible(percent >= 1);
  } else {
    label_->setText(barText_);
    label_->setVisible(!barText_.isEmpty());
  }
}

void UserProgress::ApplyColours() {
  SetBackColor(bkColor_);
  QPalette pal = label_->palette();
  pal.setColor(QPalette::WindowText, textColor_);
  label_->setPalette(pal);
}

void UserProgress::LayOut() {
  const QRect inner = contentsRect();
  QFont font = label_->font();
  const int size = modControls::FitFontPointSize(
      [&font](int points) {
        QFont f = font;
        f.setPointSize(points);
        return QFontMetrics(f).height();
      },
      inner.height());
  font.setPointSize(size);
  label_->setFont(font);
  const int labelHeight = QFontMetrics(font).height();
  const int top = inner.top() + inner.height() / 2 - (labelHeight - 1) / 2;
  label_->setGeometry(inner.left(), top, inner.width(), labelHeight);
}

void UserProgress::paintEvent(QPaintEvent* event) {
  QFrame::paintEvent(event);
  const QRect bar = BarRect();
  if (bar.width() <= 0 || bar.height() <= 0) return;
  QPainter painter(this);
  modWinApi::SelectPenAndBrush(painter, barColor_);
  painter.drawRect(bar.adjusted(0, 0, -1, -1));  // the outline pen adds one pixel
}

void UserProgress::resizeEvent(QResizeEvent* event) {
  QFrame::resizeEvent(event);
  LayOut();
  // A bar drawn for the old width would misstate the progress until the next value.
  Redraw();
}

void UserProgress::mousePressEvent(QMouseEvent* event) {
  pressedInside_ = true;
  emit MouseDown(modControls::ButtonCode(event->button()),
                 modControls::ShiftCode(event->modifiers()), event->position().x(),
                 event->position().y());
}

void UserProgress::mouseReleaseEvent(QMouseEvent* event) {
  emit MouseUp(modControls::ButtonCode(event->button()), modControls::ShiftCode(event->modifiers()),
               event->position().x(), event->position().y());
  if (pressedInside_ && rect().contains(event->position().toPoint())) emit Click();
  pressedInside_ = false;
}

void UserProgress::mouseMoveEvent(QMouseEvent* event) {
  emit MouseMove(modControls::ButtonCode(event->buttons()),
                 modControls::ShiftCode(event->modifiers()), event->position().x(),
                 event->position().y());
}

void UserProgress::mouseDoubleClickEvent(QMouseEvent*) {
  pressedInside_ = false;  // the second press of a double click is no click of its own
  emit DblClick();
}
