#pragma once
// The picture options as trimjet-cli spells them: --quality Q (or auto[:LEVEL]), --scale PCT, --width W,
// --height H, --effect NAME[=LEVEL], --strip, --keep-dates, --allow-larger, --progressive, --tuned and
// --max-size N (bytes; k and M suffixes count in 1024s). The batch wizard
// hands its options to its workers in the same words, so both read the values alike.
#include <QString>
#include <QStringList>

#include "core/BatchOptions.h"

namespace OptionGrammar {

// Whether option is a picture option that takes a value.
bool TakesValue(const QString& option);
// The switch a picture option without a value sets in options; null for any other option.
bool* Flag(const QString& option, BatchOptions& options);
// Reads a valued picture option into options; false with a one-line reason in error.
bool Read(const QString& option, const QString& value, BatchOptions& options, QString& error);
// A whole number within [minimum, maximum]; false with the reason for option in error.
bool ReadNumber(const QString& option, const QString& value, int minimum, int maximum, int& number,
                QString& error);
// A --max-size value: bytes, or k and M (either case) for 1024s; false with what it must be
// ("a size in bytes from 1 to 1G, ...") in error.
bool ReadByteCount(const QString& value, long long& bytes, QString& error);
// bytes the way ReadByteCount reads them back, in the largest unit that divides it: "300k".
QString ByteCountText(long long bytes);
// After the last option: sizing by --width/--height when either was given, else by the scale
// when scaleGiven; false with error when both ways were asked for.
bool Finish(BatchOptions& options, bool scaleGiven, QString& error);
// options in these words, without the sizing of a manual size that has neither side (which
// the words cannot say). Levels outside an effect's range are held to it, as applying does.
QStringList Arguments(const BatchOptions& options);

}  // namespace OptionGrammar
