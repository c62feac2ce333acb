#include "browse/CellPainter.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPalette>

namespace CellPainter {
namespace {

// A raised 3-D edge two pixels wide around the inside of r: light above and left, shadow
// below and right, as on a classic button.
void RaisedEdge(QPainter& dc, const QRect& r, const QPalette& palette) {
  const QColor outerLight = palette.color(QPalette::Light);
  const QColor innerLight = palette.color(QPalette::Midlight);
  const QColor outerDark = palette.color(QPalette::Shadow);
  const QColor innerDark = palette.color(QPalette::Dark);
  auto edge = [&](const QRect& e, const QColor& light, const QColor& dark) {
    dc.setPen(light);
    dc.drawLine(e.topLeft(), e.topRight());
    dc.drawLine(e.topLeft(), e.bottomLeft());
    dc.setPen(dark);
    dc.drawLine(e.bottomLeft(), e.bottomRight());
    dc.drawLine(e.topRight(), e.bottomRight());
  };
  edge(r, outerLight, outerDark);
  edge(r.adjusted(1, 1, -1, -1), innerLight, innerDark);
}

}  // namespace

void Frame(QPainter& dc, const QRect& inner, bool selected) {
  const QPalette palette = QGuiApplication::palette();
  dc.save();
  if (selected) {
    // The desktop's own selection colour, so that a dark palette looks right too.
    dc.fillRect(inner, palette.color(QPalette::Highlight));
    RaisedEdge(dc, inner, palette);
  } else {
    RaisedEdge(dc, inner, palette);
    dc.fillRect(inner.adjusted(2, 2, -2, -2), palette.color(QPalette::Button));
  }
  dc.restore();
}

void Caption(QPainter& dc, const QRect& rect, const QString& text, bool selected) {
  const QPalette palette = QGuiApplication::palette();
  dc.save();
  dc.setPen(palette.color(selected ? QPalette::HighlightedText : QPalette::ButtonText));
  const QString shown = dc.fontMetrics().elidedText(text, Qt::ElideMiddle, rect.width() - 4);
  dc.drawText(rect, Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine, shown);
  dc.restore();
}

}  // namespace CellPainter
