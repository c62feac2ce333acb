#pragma once
// Where the user left a window, as one text value of the settings store: Qt's saved geometry
// in base64. The windows keep it under their own keys.
#include <QString>

class QWidget;

namespace WindowGeometry {

QString Text(const QWidget* window);
// Puts window where text says; false (window untouched) when text holds no usable geometry.
bool Restore(QWidget* window, const QString& text);

}  // namespace WindowGeometry
