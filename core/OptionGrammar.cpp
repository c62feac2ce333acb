#include "core/OptionGrammar.h"

#include <algorithm>

#include "core/QualityRange.h"

namespace {

const QString kQuality = QStringLiteral("--quality");
const QString kScale = QStringLiteral("--scale");
const QString kWidth = QStringLiteral("--width");
const QString kHeight = QStringLiteral("--height");
const QString kEffect = QStringLiteral("--effect");
const QString kMaxSize = QStringLiteral("--max-size");
const QString kAuto = QStringLiteral("auto");

QString RangeError(const QString& option, int minimum, int maximum, const QString& given) {
  return QStringLiteral("%1 takes a whole number from %2 to %3, not '%4'")
      .arg(option)
      .arg(minimum)
      .arg(maximum)
      .arg(given);
}

// Typed names need not match the catalogue's capitals: "sharpen more" is "Sharpen More".
const EffectCatalog::Entry* FindEffect(const QString& name) {
  for (const EffectCatalog::Entry& entry : EffectCatalog::All())
    if (entry.name.compare(name, Qt::CaseInsensitive) == 0) return &entry;
  return nullptr;
}

bool ReadEffect(const QString& text, BatchOptions::Effect& effect, QString& error) {
  // The last "=" splits: names hold blanks but no "=".
  const int eq = text.lastIndexOf(QLatin1Char('='));
  const QString name = eq < 0 ? text : text.left(eq);
  effect.entry = FindEffect(name);
  if (!effect.entry) {
    error = QStringLiteral("unknown effect '%1' (effects: %2)")
                .arg(name, EffectCatalog::SortedNames().join(QStringLiteral(", ")));
    return false;
  }
  effect.level = effect.entry->start;
  if (eq < 0) return true;
  if (!effect.entry->HasLevel()) {
    error = QStringLiteral("effect '%1' takes no level").arg(name);
    return false;
  }
  return OptionGrammar::ReadNumber(QStringLiteral("effect '%1'").arg(name), text.mid(eq + 1),
                                   effect.entry->minimum, effect.entry->maximum, effect.level,
                                   error);
}

}  // namespace

namespace OptionGrammar {

bool TakesValue(const QString& option) {
  return option == kQuality || option == kScale || option == kWidth || option == kHeight ||
         option == kEffect || option == kMaxSize;
}

bool* Flag(const QString& option, BatchOptions& o) {
  if (option == QLatin1String("--strip")) return &o.stripMetadata;
  if (option == QLatin1String("--keep-dates")) return &o.keepDates;
  if (option == QLatin1String("--allow-larger")) return &o.allowLarger;
  if (option == QLatin1String("--progressive")) return &o.progressive;
  if (option == QLatin1String("--tuned")) return &o.tuned;
  return nullptr;
}

bool ReadNumber(const QString& option, const QString& value, int minimum, int maximum, int& number,
                QString& error) {
  bool ok = false;
  const int v = value.toInt(&ok);
  if (!ok || v < minimum || v > maximum) {
    error = RangeError(option, minimum, maximum, value);
    return false;
  }
  number = v;
  return true;
}

bool ReadByteCount(const QString& value, long long& bytes, QString& error) {
  QString digits = value.trimmed();
  long long unit = 1;
  if (digits.endsWith(QLatin1Char('k'), Qt::CaseInsensitive)) unit = 1024;
  if (digits.endsWith(QLatin1Char('m'), Qt::CaseInsensitive)) unit = 1024 * 1024;
  if (unit > 1) digits.chop(1);
  bool ok = false;
  const long long n = digits.toLongLong(&ok);
  constexpr long long kLimit = 1LL << 30;
  if (!ok || n < 1 || n > kLimit / unit) {
    error = QStringLiteral("a size in bytes from 1 to 1G, with k or M for 1024 or "
                           "1024 x 1024 bytes (300k, 2M), not '%1'")
                .arg(value);
    return false;
  }
  bytes = n * unit;
  return true;
}

QString ByteCountText(long long bytes) {
  constexpr long long kMega = 1024 * 1024;
  if (bytes > 0 && bytes % kMega == 0) return QString::number(bytes / kMega) + QLatin1Char('M');
  if (bytes > 0 && bytes % 1024 == 0) return QString::number(bytes / 1024) + QLatin1Char('k');
  return QString::number(bytes);
}

// "auto" or "auto:LEVEL"; anything else is left to the number reader.
bool ReadAutoQuality(const QString& value, BatchOptions& o, QString& error) {
  const QString level = value.mid(5);
  bool ok = value == kAuto;
  o.autoQuality = ok ? AutoQuality::kDefaultLevel : AutoQuality::FromName(level, ok);
  if (!ok)
    error = QStringLiteral("%1 auto takes a level (%2), not '%3'")
                .arg(kQuality, AutoQuality::Names().join(QStringLiteral(", ")), level);
  return ok;
}

bool Read(const QString& option, const QString& value, BatchOptions& o, QString& error) {
  if (option == kQuality && (value == kAuto || value.startsWith(kAuto + QLatin1Char(':'))))
    return ReadAutoQuality(value, o, error);
  if (option == kQuality) {
    o.autoQuality = AutoQuality::Level::kOff;
    return ReadNumber(option, value, QualityRange::kLowest, QualityRange::kHighest, o.quality,
                      error);
  }
  if (option == kScale) return ReadNumber(option, value, 1, 500, o.scale, error);
  if (option == kWidth) return ReadNumber(option, value, 1, 32767, o.width, error);
  if (option == kHeight) return ReadNumber(option, value, 1, 32767, o.height, error);
  if (option == kMaxSize) {
    if (ReadByteCount(value, o.maxBytes, error)) return true;
    error = kMaxSize + QStringLiteral(" takes ") + error;
    return false;
  }
  if (option == kEffect) {
    BatchOptions::Effect effect;
    if (!ReadEffect(value, effect, error)) return false;
    o.effects.push_back(effect);
    return true;
  }
  error = QStringLiteral("unknown option %1").arg(option);
  return false;
}

bool Finish(BatchOptions& o, bool scaleGiven, QString& error) {
  o.manualSize = o.width > 0 || o.height > 0;
  if (o.manualSize && scaleGiven) {
    error = QStringLiteral("--scale cannot be combined with --width or --height");
    return false;
  }
  o.resize = o.manualSize || scaleGiven;
  return true;
}

QStringList Arguments(const BatchOptions& o) {
  QStringList args{kQuality, o.autoQuality == AutoQuality::Level::kOff
                                 ? QString::number(o.quality)
                                 : kAuto + QLatin1Char(':') + AutoQuality::Name(o.autoQuality)};
  if (o.resize && o.manualSize) {
    // A side left empty (0, or less) is worked out from the picture, as when it is not given.
    if (o.width > 0) args << kWidth << QString::number(o.width);
    if (o.height > 0) args << kHeight << QString::number(o.height);
  } else if (o.resize) {
    args << kScale << QString::number(o.scale);
  }
  for (const BatchOptions::Effect& e : o.effects) {
    if (!e.entry) continue;
    const int level = std::clamp(e.level, e.entry->minimum, e.entry->maximum);
    args << kEffect
         << (e.entry->HasLevel() ? e.entry->name + QLatin1Char('=') + QString::number(level)
                                 : e.entry->name);
  }
  if (o.stripMetadata) args << QStringLiteral("--strip");
  if (o.keepDates) args << QStringLiteral("--keep-dates");
  if (o.allowLarger) args << QStringLiteral("--allow-larger");
  if (o.progressive) args << QStringLiteral("--progressive");
  if (o.tuned) args << QStringLiteral("--tuned");
  if (o.maxBytes > 0) args << kMaxSize << QString::number(o.maxBytes);
  return args;
}

}  // namespace OptionGrammar
