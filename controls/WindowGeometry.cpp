#include "controls/WindowGeometry.h"

#include <QByteArray>
#include <QWidget>

namespace WindowGeometry {

QString Text(const QWidget* window) {
  return QString::fromLatin1(window->saveGeometry().toBase64());
}

bool Restore(QWidget* window, const QString& text) {
  const QByteArray geometry = QByteArray::fromBase64(text.toLatin1());
  return !geometry.isEmpty() && window->restoreGeometry(geometry);
}

}  // namespace WindowGeometry
