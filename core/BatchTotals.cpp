#include "core/BatchTotals.h"

#include "engine/Rounding.h"

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

QString BatchTotals::SummaryLine() const {
  return SummaryLine(Counted(Outcome::kWritten), Counted(Outcome::kKept),
                     Counted(Outcome::kSkipped), Counted(Outcome::kFailed), original_ - optimised_);
}

QString BatchTotals::SummaryLine(int written, int kept, int skipped, int failed, qint64 saved) {
  return QStringLiteral("Written %1, kept %2, skipped %3, failed %4; %5 bytes saved")
      .arg(written)
      .arg(kept)
      .arg(skipped)
      .arg(failed)
      .arg(saved);
}
