#pragma once
// Windows-1252 <-> Unicode for stored 8-bit texts (the language file). A fixed table,
// so the result does not depend on which converters the Qt build happens to carry.
#include <QByteArray>
#include <QString>

namespace Cp1252 {

// Every byte maps to one character; the five bytes Windows leaves undefined map to the
// C1 control of the same value, as Windows itself does.
QString ToUnicode(const QByteArray& bytes);
// One byte per character; characters outside the code page become '?'.
QByteArray FromUnicode(const QString& text);

}  // namespace Cp1252
