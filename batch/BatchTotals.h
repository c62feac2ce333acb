#pragma once
// BatchTotals: the byte totals of a batch run and the compression figure shown from them.
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

 private:
  qint64 original_ = 0;
  qint64 optimised_ = 0;
};
