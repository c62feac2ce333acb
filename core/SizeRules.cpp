#include "core/SizeRules.h"

#include <limits>

#include "engine/Rounding.h"

namespace SizeRules {

QSize ScaledSize(QSize picture, int scalePercent) {
  const auto side = [scalePercent](int length) {
    return static_cast<int>(Rounding::HalfEven(std::int64_t(length) * scalePercent, 100));
  };
  return QSize(side(picture.width()), side(picture.height()));
}

std::optional<QString> LimitTypedSize(const QString& text) {
  bool ok = false;
  const qlonglong value = text.trimmed().toLongLong(&ok);
  if (!ok || value <= kLargestTypedSize) return std::nullopt;
  return QString::fromLatin1(kTypedSizeReplacement);
}

std::optional<int> AspectPartner(int value, int numerator, int denominator) {
  if (denominator == 0) return std::nullopt;
  const std::int64_t result = std::int64_t(value) * numerator / denominator;
  if (result > std::numeric_limits<int>::max() || result < std::numeric_limits<int>::min())
    return std::nullopt;
  return static_cast<int>(result);
}

int BoxValue(const QString& text) {
  bool ok = false;
  const int value = text.trimmed().toInt(&ok);
  return ok ? value : 0;
}

std::optional<int> ShortValue(const QString& text) {
  bool ok = false;
  const short value = text.trimmed().toShort(&ok);
  if (!ok) return std::nullopt;
  return value;
}

std::optional<QSize> ManualSize(const QString& widthText, const QString& heightText,
                                QSize picture) {
  const bool hasWidth = !widthText.isEmpty();
  const bool hasHeight = !heightText.isEmpty();
  const std::optional<int> w = ShortValue(widthText);
  const std::optional<int> h = ShortValue(heightText);
  if (hasWidth && hasHeight) {
    if (!w || !h) return std::nullopt;
    return QSize(*w, *h);
  }
  if (hasWidth && w) {
    const std::optional<int> partner = AspectPartner(*w, picture.height(), picture.width());
    if (partner) return QSize(*w, *partner);
  }
  if (hasHeight && h) {
    const std::optional<int> partner = AspectPartner(*h, picture.width(), picture.height());
    if (partner) return QSize(*partner, *h);
  }
  return std::nullopt;
}

}  // namespace SizeRules
