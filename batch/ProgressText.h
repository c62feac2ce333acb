#pragma once
// ProgressText: the run page's progress box rule: a line is appended with CR LF, and a box
// that would reach 30001 characters first drops its oldest text behind "... ".
#include <QString>

namespace ProgressText {

inline constexpr int kLimit = 30001;
QString Append(const QString& box, const QString& line);

}  // namespace ProgressText
