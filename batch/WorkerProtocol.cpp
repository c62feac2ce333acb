#include "batch/WorkerProtocol.h"

#include <QList>

namespace {

QByteArray Field(const QString& text) { return text.toUtf8().toPercentEncoding(); }
QString Text(const QByteArray& field) {
  return QString::fromUtf8(QByteArray::fromPercentEncoding(field));
}

QList<QByteArray> Fields(QByteArray line) {
  while (line.endsWith('\n') || line.endsWith('\r')) line.chop(1);
  return line.split('\t');
}

bool ToInt(const QString& text, int& value) {
  bool ok = false;
  value = text.toInt(&ok);
  return ok;
}

}  // namespace

namespace WorkerProtocol {

QStringList OptionArguments(const BatchOptions& o) {
  QStringList args{QStringLiteral("--quality"), QString::number(o.quality)};
  if (o.resize) {
    args << QStringLiteral("--resize")
         << (o.manualSize ? QStringLiteral("manual") : QStringLiteral("scale"))
         << QStringLiteral("--width") << QString::number(o.width) << QStringLiteral("--height")
         << QString::number(o.height) << QStringLiteral("--scale") << QString::number(o.scale);
  }
  if (o.keepDates) args << QStringLiteral("--keep-dates") << QStringLiteral("1");
  if (o.allowLarger) args << QStringLiteral("--allow-larger") << QStringLiteral("1");
  for (const BatchOptions::Effect& e : o.effects)
    if (e.entry)
      args << QStringLiteral("--effect")
           << e.entry->name + QLatin1Char('=') + QString::number(e.level);
  if (o.stripMetadata) args << QStringLiteral("--strip") << QStringLiteral("yes");
  return args;
}

bool ParseOptionArguments(const QStringList& args, BatchOptions& o, QString& error) {
  o = BatchOptions();
  for (int i = 0; i < args.size(); i += 2) {
    const QString& name = args[i];
    if (i + 1 >= args.size()) {
      error = name + QStringLiteral(" needs a value");
      return false;
    }
    const QString& value = args[i + 1];
    bool ok = true;
    if (name == QLatin1String("--quality")) {
      ok = ToInt(value, o.quality);
    } else if (name == QLatin1String("--resize")) {
      o.resize = true;
      o.manualSize = value == QLatin1String("manual");
    } else if (name == QLatin1String("--width")) {
      ok = ToInt(value, o.width);
    } else if (name == QLatin1String("--height")) {
      ok = ToInt(value, o.height);
    } else if (name == QLatin1String("--scale")) {
      ok = ToInt(value, o.scale);
    } else if (name == QLatin1String("--strip")) {
      o.stripMetadata = value == QLatin1String("yes");
    } else if (name == QLatin1String("--keep-dates")) {
      o.keepDates = value == QLatin1String("1");
    } else if (name == QLatin1String("--allow-larger")) {
      o.allowLarger = value == QLatin1String("1");
    } else if (name == QLatin1String("--effect")) {
      const qsizetype eq = value.lastIndexOf(QLatin1Char('='));
      BatchOptions::Effect effect;
      effect.entry = EffectCatalog::Find(value.left(eq));
      ok = eq > 0 && effect.entry && ToInt(value.mid(eq + 1), effect.level);
      o.effects.push_back(effect);
    } else {
      ok = false;
    }
    if (!ok) {
      error = QStringLiteral("cannot read %1 %2").arg(name, value);
      return false;
    }
  }
  return true;
}

QByteArray JobLine(int index, const QString& source, const QString& dest) {
  return QByteArray::number(index) + '\t' + Field(source) + '\t' + Field(dest) + '\n';
}

bool ParseJobLine(const QByteArray& line, int& index, QString& source, QString& dest) {
  const QList<QByteArray> f = Fields(line);
  bool ok = false;
  if (f.size() != 3) return false;
  index = f[0].toInt(&ok);
  source = Text(f[1]);
  dest = Text(f[2]);
  return ok;
}

QByteArray ResultLine(int index, const BatchJob::Result& r) {
  return QByteArray::number(index) + '\t' +
         (r.kept ? "k"
          : r.ok ? "1"
                 : "0") +
         '\t' + QByteArray::number(r.bytesBefore) + '\t' + QByteArray::number(r.bytesAfter) + '\t' +
         Field(r.reason) + '\n';
}

bool ParseResultLine(const QByteArray& line, int& index, BatchJob::Result& r) {
  const QList<QByteArray> f = Fields(line);
  if (f.size() != 5) return false;
  bool a = false, b = false, c = false;
  index = f[0].toInt(&a);
  r.ok = f[1] == "1" || f[1] == "k";
  r.kept = f[1] == "k";
  r.bytesBefore = f[2].toLongLong(&b);
  r.bytesAfter = f[3].toLongLong(&c);
  r.reason = Text(f[4]);
  return a && b && c;
}

}  // namespace WorkerProtocol
