#include "core/modWinApi.h"

#include <QBrush>
#include <QPainter>
#include <QPen>

namespace modWinApi {
void SelectPenAndBrush(QPainter& painter, const QColor& colour) {
  QPen pen(colour);
  pen.setWidth(1);
  pen.setStyle(Qt::SolidLine);
  painter.setPen(pen);
  painter.setBrush(QBrush(colour, Qt::SolidPattern));
}
}  // namespace modWinApi
