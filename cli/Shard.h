#pragma once
// Shard: one of N parts of an input list, chosen by a stable hash of each picture's path
// (64-bit FNV-1a of its UTF-8 bytes, modulo N), so that N machines given the same list and
// K = 0..N-1 share it without talking to each other: every picture falls in exactly one part.
#include <QString>
#include <QtGlobal>

class Shard {
 public:
  int index = 0;  // K, 0..count-1
  int count = 1;  // N

  // "K/N" with 0 <= K < N; false otherwise.
  static bool Parse(const QString& text, Shard& shard);
  static quint64 Hash(const QByteArray& bytes);
  bool Contains(const QString& path) const;
};
