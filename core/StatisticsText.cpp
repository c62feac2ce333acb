#include "core/StatisticsText.h"

#include "core/modPublic.h"
#include "engine/Rounding.h"

namespace StatisticsText {

QString Tenths(std::int64_t tenths, const QLocale& locale) {
  QLocale plain = locale;
  plain.setNumberOptions(QLocale::OmitGroupSeparator);
  const bool negative = tenths < 0;
  const std::uint64_t magnitude = negative ? 0 - std::uint64_t(tenths) : std::uint64_t(tenths);
  QString text = plain.toString(qulonglong(magnitude / 10));
  if (magnitude % 10 != 0) text += plain.decimalPoint() + plain.toString(int(magnitude % 10));
  return negative ? plain.negativeSign() + text : text;
}

QString SizeText(std::int64_t bytes, const QLocale& locale) {
  return Tenths(Rounding::HalfEven(bytes * 10, 1024), locale) + QLatin1String(modPublic::kKbUnit);
}

QString DimensionsText(int width, int height) {
  return QString::number(width) + QLatin1Char('x') + QString::number(height);
}

std::optional<QString> CompressionText(std::int64_t jpegBytes, std::int64_t fileBytes,
                                       const QLocale& locale) {
  if (fileBytes <= 0) return std::nullopt;
  // Working in tenths of a percent keeps the result exact: no float digits to cut off.
  const std::int64_t ratioTenths = Rounding::HalfEven(jpegBytes * 1000, fileBytes);
  return Tenths(1000 - ratioTenths, locale) + QStringLiteral(" %");
}

}  // namespace StatisticsText
