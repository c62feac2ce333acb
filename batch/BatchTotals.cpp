#include "BatchTotals.h"

void BatchTotals::Add(qint64 originalBytes, qint64 optimisedBytes) {
  original_ += originalBytes;
  optimised_ += optimisedBytes;
}

qint64 BatchTotals::RatioPercent(qint64 optimised, qint64 original) {
  // Exact integer arithmetic: no 16-bit cap, and no float error at the halves.
  const qint64 num = optimised * 100;
  qint64 q = num / original;
  const qint64 twice = 2 * (num % original);
  if (twice > original || (twice == original && (q & 1))) ++q;
  return q;
}

QString BatchTotals::CompressionText() const {
  if (original_ <= 0) return {};
  return QString::number(RatioPercent(optimised_, original_)) + QLatin1Char('%');
}
