#include "controls/DroppedFiles.h"

#include <QDragEnterEvent>
#include <QMimeData>
#include <QUrl>

namespace DroppedFiles {

QStringList LocalPaths(const QMimeData* mime) {
  QStringList paths;
  if (!mime || !mime->hasUrls()) return paths;
  for (const QUrl& url : mime->urls())
    if (url.isLocalFile() && !url.toLocalFile().isEmpty()) paths << url.toLocalFile();
  return paths;
}

bool AcceptLocal(QDragEnterEvent* event) {
  if (LocalPaths(event->mimeData()).isEmpty()) return false;
  event->setDropAction(Qt::CopyAction);
  event->accept();
  return true;
}

}  // namespace DroppedFiles
