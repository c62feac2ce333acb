#pragma once
// JpegCompleteness: whether a JPEG's picture data is all there. The engine's decoder shows a
// file cut short with grey below the rows it reached, which looks complete; a batch that is
// about to replace the original has to know.
#include <QByteArray>

class JpegCompleteness {
 public:
  // False when the entropy-coded data ends early or is broken (libjpeg's "premature end of
  // data" and "corrupt data" warnings); true for anything else, including files it cannot
  // read at all, which the decoder refuses on its own. A file that ends with its EOI marker
  // counts as complete without decoding: a file cut short never does.
  static bool IsComplete(const QByteArray& bytes);
};
