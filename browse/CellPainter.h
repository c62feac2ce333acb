#pragma once
// The look of a thumbnail cell: the raised frame, the blue of a selected cell and the
// file name under the picture.
#include <QRect>
#include <QString>

class QPainter;

namespace CellPainter {

void Frame(QPainter& dc, const QRect& inner, bool selected);
// Centred across the rectangle, cut with an ellipsis when it is too long for the cell.
void Caption(QPainter& dc, const QRect& rect, const QString& text, bool selected);

}  // namespace CellPainter
