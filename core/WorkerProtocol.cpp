#include "core/WorkerProtocol.h"

#include <QList>

#include "core/OptionGrammar.h"

namespace {

QByteArray Field(const QString& text) { return text.toUtf8().toPercentEncoding(); }
QString Text(const QByteArray& field) {
  return QString::fromUtf8(QByteArray::fromPercentEncoding(field));
}

QList<QByteArray> Fields(QByteArray line) {
  while (line.endsWith('\n') || line.endsWith('\r')) line.chop(1);
  return line.split('\t');
}

const QString kNoSize = QStringLiteral("--manual-size-without-sides");

}  // namespace

namespace WorkerProtocol {

QStringList OptionArguments(const BatchOptions& o) {
  QStringList args = OptionGrammar::Arguments(o);
  // A manual size with both boxes empty, which trimjet-cli cannot be asked for: every picture
  // then fails for want of a size, as it does in the wizard.
  if (o.resize && o.manualSize && o.width <= 0 && o.height <= 0) args << kNoSize;
  return args;
}

bool ParseOptionArguments(const QStringList& args, BatchOptions& o, QString& error) {
  o = BatchOptions();
  bool scaleGiven = false, noSize = false;
  for (int i = 0; i < args.size(); ++i) {
    const QString& name = args[i];
    if (name == kNoSize) {
      noSize = true;
    } else if (bool* flag = OptionGrammar::Flag(name, o)) {
      *flag = true;
    } else if (!OptionGrammar::TakesValue(name)) {
      error = QStringLiteral("unknown option %1").arg(name);
      return false;
    } else if (i + 1 >= args.size()) {
      error = name + QStringLiteral(" needs a value");
      return false;
    } else if (!OptionGrammar::Read(name, args[++i], o, error)) {
      return false;
    } else {
      scaleGiven = scaleGiven || name == QLatin1String("--scale");
    }
  }
  if (!OptionGrammar::Finish(o, scaleGiven, error)) return false;
  if (noSize) o.resize = o.manualSize = true;
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
         Field(r.reason) + '\t' + QByteArray::number(r.width) + '\t' +
         QByteArray::number(r.height) + '\t' + (r.lossless ? '1' : '0') + '\t' +
         QByteArray::number(r.quality) + '\n';
}

bool ParseResultLine(const QByteArray& line, int& index, BatchJob::Result& r) {
  const QList<QByteArray> f = Fields(line);
  if (f.size() != 9) return false;
  bool a = false, b = false, c = false, w = false, h = false, q = false;
  index = f[0].toInt(&a);
  r.ok = f[1] == "1" || f[1] == "k";
  r.kept = f[1] == "k";
  r.bytesBefore = f[2].toLongLong(&b);
  r.bytesAfter = f[3].toLongLong(&c);
  r.reason = Text(f[4]);
  r.width = f[5].toInt(&w);
  r.height = f[6].toInt(&h);
  r.lossless = f[7] == "1";
  r.quality = f[8].toInt(&q);
  return a && b && c && w && h && q;
}

}  // namespace WorkerProtocol
