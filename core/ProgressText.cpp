#include "core/ProgressText.h"

namespace ProgressText {

QString Append(const QString& box, const QString& line) {
  QString text = box;
  if (text.size() + line.size() >= kLimit)
    text =
        QStringLiteral("... ") + text.mid(line.size() + 9);  // from position length + 10, 1-based
  return text + line + QStringLiteral("\r\n");
}

}  // namespace ProgressText
