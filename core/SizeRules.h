#pragma once
// The size rules of the optimiser window and the batch options panel: a scale in percent to
// pixels, the typed-size limit, the aspect-ratio partner of a typed side and the size boxes'
// values. Pure arithmetic, shared so both windows size pictures alike.
#include <QSize>
#include <QString>
#include <cstdint>
#include <optional>

namespace SizeRules {

inline constexpr int kLargestTypedSize = 9999;
// What a size box holding more than kLargestTypedSize is set to (not 9999: the old program
// wrote "100", and users know the rule).
inline const char* const kTypedSizeReplacement = "100";

// width x height at scale percent, each side rounded with halves to even (may give 0).
QSize ScaledSize(QSize picture, int scalePercent);
// The replacement text when a box's text is a number above the limit; nothing otherwise
// (empty text and text that is not a number stay as typed).
std::optional<QString> LimitTypedSize(const QString& text);
// value x numerator / denominator with the fraction dropped; nothing for a zero denominator
// or a result beyond int.
std::optional<int> AspectPartner(int value, int numerator, int denominator);
// A size box's integer value, 0 when it does not convert.
int BoxValue(const QString& text);
// A size box's value when it is a 16-bit integer.
std::optional<int> ShortValue(const QString& text);
// Manual size of the options panel: both boxes, or one box and the missing side from the
// picture's own aspect ratio (fraction dropped); nothing when both are empty or unusable.
std::optional<QSize> ManualSize(const QString& widthText, const QString& heightText, QSize picture);

}  // namespace SizeRules
