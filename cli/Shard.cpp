#include "cli/Shard.h"

#include <QStringList>

bool Shard::Parse(const QString& text, Shard& shard) {
  const QStringList parts = text.split(QLatin1Char('/'));
  if (parts.size() != 2) return false;
  bool okK = false, okN = false;
  const int k = parts[0].toInt(&okK), n = parts[1].toInt(&okN);
  if (!okK || !okN || n < 1 || k < 0 || k >= n) return false;
  shard.index = k;
  shard.count = n;
  return true;
}

quint64 Shard::Hash(const QByteArray& bytes) {
  quint64 hash = 14695981039346656037ULL;
  for (const char c : bytes) {
    hash ^= quint64(static_cast<unsigned char>(c));
    hash *= 1099511628211ULL;
  }
  return hash;
}

bool Shard::Contains(const QString& path) const {
  return count <= 1 || Hash(path.toUtf8()) % quint64(count) == quint64(index);
}
