#pragma once
// Files and folders dragged onto a window from a file manager: only local paths count, in the
// order they were dragged.
#include <QStringList>

class QMimeData;
class QDragEnterEvent;

namespace DroppedFiles {

// The local files and folders of a drag; empty when it carries none.
QStringList LocalPaths(const QMimeData* mime);
// Accepts the drag (copy) when it carries a local path, so that the cursor shows a drop is
// possible; true when accepted.
bool AcceptLocal(QDragEnterEvent* event);

}  // namespace DroppedFiles
