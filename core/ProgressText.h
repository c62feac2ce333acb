#pragma once
// ProgressText: the run page's progress box rule: a line is appended with CR LF, and a box
// that would reach 30001 characters first drops its oldest text behind "... "; and the note
// lines of a lossless tidy and of a searched quality.
#include <QString>

namespace ProgressText {

inline constexpr int kLimit = 30001;
// Below a picture whose JPEG data was rewritten with better tables instead of encoded again.
inline const QString kLosslessLine =
    QStringLiteral("    lossless: the JPEG's own data rewritten, its pixels unchanged");
// Below a picture whose quality was searched for (automatic quality or a byte budget): the
// quality written, as the quality label shows it.
inline const QString kQualityLinePrefix = QStringLiteral("    quality chosen for this picture: ");
QString Append(const QString& box, const QString& line);

}  // namespace ProgressText
