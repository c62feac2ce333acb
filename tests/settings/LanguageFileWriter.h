#pragma once
// Builds language files byte by byte for the tests: a 3-byte entry count, then name and
// text strings, each a 2-byte length and Windows-1252 bytes.
#include <QByteArray>
#include <QFile>
#include <QString>
#include <utility>
#include <vector>

#include "settings/Cp1252.h"

inline QByteArray LittleEndian(quint32 value, int bytes) {
  QByteArray out;
  for (int i = 0; i < bytes; ++i) out.append(char((value >> (8 * i)) & 0xFF));
  return out;
}

inline QByteArray LanguageFileBytes(const std::vector<std::pair<QString, QString>>& entries) {
  QByteArray out = LittleEndian(quint32(entries.size()), 3);
  for (const auto& [name, text] : entries) {
    for (const QString& s : {name, text}) {
      const QByteArray bytes = Cp1252::FromUnicode(s);
      out += LittleEndian(quint32(bytes.size()), 2) + bytes;
    }
  }
  return out;
}

inline bool WriteBytes(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}
