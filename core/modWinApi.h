#pragma once
// Drawing helper shared by the custom controls.
#include <QColor>

class QPainter;

namespace modWinApi {
// A solid one-pixel pen and a solid brush of the colour, both left selected in the painter.
void SelectPenAndBrush(QPainter& painter, const QColor& colour);
}  // namespace modWinApi
