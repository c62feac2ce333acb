#include "optimizer/TextButton.h"

#include <QEvent>
#include <QPainter>

TextButton::TextButton(const QString& text, QWidget* parent) : CommandButton(parent) {
  setText(text);
}

void TextButton::setText(const QString& text) {
  text_ = text;
  Render();
}

void TextButton::changeEvent(QEvent* event) {
  CommandButton::changeEvent(event);
  if (event->type() == QEvent::EnabledChange || event->type() == QEvent::FontChange ||
      event->type() == QEvent::PaletteChange)
    Render();
}

void TextButton::Render() {
  const QFontMetrics metrics(font());
  const QSize size(metrics.horizontalAdvance(text_) + 12, metrics.height() + 6);
  QPixmap picture(size);
  picture.fill(BackColor());
  QPainter dc(&picture);
  dc.setFont(font());
  dc.setPen(
      palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
  dc.drawText(picture.rect(), Qt::AlignCenter, text_);
  dc.end();
  SetPicture(picture);
  updateGeometry();
}
