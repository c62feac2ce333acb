#pragma once
// The texts of the "Image statistics" frame, shared by the optimiser window and the batch
// options panel: sizes in Kb and the compression as the locale prints numbers (no trailing
// zero decimal, the locale's decimal separator), dimensions as 640x480.
#include <QLocale>
#include <QString>
#include <cstdint>
#include <optional>

namespace StatisticsText {

// Tenths printed without a zero decimal: 125 -> "12.5", 30 -> "3", -5 -> "-0.5".
QString Tenths(std::int64_t tenths, const QLocale& locale = QLocale());
// bytes / 1024 rounded to one decimal, halves to even, then " Kb": "12.5 Kb", "3 Kb".
QString SizeText(std::int64_t bytes, const QLocale& locale = QLocale());
QString DimensionsText(int width, int height);
// 100 - jpegBytes x 100 / fileBytes to one decimal, then " %" ("67.3 %", "-4.2 %"). 64-bit
// throughout; nothing for a file of length 0 or below, which has no meaningful saving.
std::optional<QString> CompressionText(std::int64_t jpegBytes, std::int64_t fileBytes,
                                       const QLocale& locale = QLocale());

}  // namespace StatisticsText
