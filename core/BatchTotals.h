#pragma once
// BatchTotals: the byte totals of a batch run and the compression figure shown from them,
// and how many pictures ended which way, for the run's last line.
#include <QString>

class BatchTotals {
 public:
  void Add(qint64 originalBytes, qint64 optimisedBytes);
  qint64 Original() const { return original_; }
  qint64 Optimised() const { return optimised_; }
  // Optimised as a percentage of original, nearest integer with halves to even.
  static qint64 RatioPercent(qint64 optimised, qint64 original);
  // "38%"; empty while nothing has been counted (the label keeps its own text then).
  QString CompressionText() const;

 enum class Outcome { kWritten, kKept, kSkipped, kFailed };
  void Count(Outcome outcome) { ++counts_[int(outcome)]; }
  int Counted(Outcome outcome) const { return counts_[int(outcome)]; }
  // "Written 3, kept 1, skipped 0, failed 1; 123456 bytes saved"
  QString SummaryLine() const;
  static QString SummaryLine(int written, int kept, int skipped, int failed, qint64 saved);

 private:
  int counts_[4] = {0, 0, 0, 0};
  qint64 original_ = 0;
  qint64 optimised_ = 0;
};
