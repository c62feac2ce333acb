#include "optimizer/MakerLink.h"

#include <QFontMetrics>
#include <QPainter>

#include "controls/CommandButton.h"

namespace MakerLink {

QPixmap Logo(const QFont& base) {
  QFont font = base;
  font.setBold(true);
  font.setItalic(true);
  const QFontMetrics metrics(font);
  const QString text = QStringLiteral("Norvale");
  QPixmap logo(metrics.horizontalAdvance(text) + 16, metrics.height() + 8);
  logo.fill(QColor(0x1f, 0x4e, 0x96));
  QPainter dc(&logo);
  dc.setFont(font);
  dc.setPen(Qt::white);
  dc.drawText(logo.rect(), Qt::AlignCenter, text);
  return logo;
}

CommandButton* Create(const QFont& base) {
  auto* button = new CommandButton;
  button->setObjectName(QStringLiteral("cmdLink"));
  button->SetPicture(Logo(base));
  button->SetHideBorder(true);
  // The logo is a picture: screen readers get words.
  button->setAccessibleName(QStringLiteral("Visit the maker's web site"));
  button->setCursor(Qt::PointingHandCursor);
  return button;
}

}  // namespace MakerLink
