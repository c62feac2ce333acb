#include "BatchTotals.h"

#include "Rounding.h"

void BatchTotals::Add(qint64 originalBytes, qint64 optimisedBytes) {
  original_ += originalBytes;
  optimised_ += optimisedBytes;
}

qint64 BatchTotals::RatioPercent(qint64 optimised, qint64 original) {
  // Exact integer arithmetic: no 16-bit cap, and no float error at the halves.
  return Rounding::HalfEven(optimised * 100, original);
}

QString BatchTotals::CompressionText() const {
  if (original_ <= 0) return {};
  return QString::number(RatioPercent(optimised_, original_)) + QLatin1Char('%');
}
