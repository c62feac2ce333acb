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

QString BatchTotals::SummaryLine() const {
  return SummaryLine(Counted(Outcome::kWritten), Counted(Outcome::kKept),
                     Counted(Outcome::kSkipped), Counted(Outcome::kFailed),
                     original_ - optimised_);
}

QString BatchTotals::SummaryLine(int written, int kept, int skipped, int failed, qint64 saved) {
  return QStringLiteral("Written %1, kept %2, skipped %3, failed %4; %5 bytes saved")
      .arg(written)
      .arg(kept)
      .arg(skipped)
      .arg(failed)
      .arg(saved);
}
