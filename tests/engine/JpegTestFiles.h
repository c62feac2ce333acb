#pragma once
// JPEG files the engine's own encoder cannot write, made with libjpeg for the decoding
// tests: progressive ones, and headers that claim another size than their data holds.
#include <QByteArray>

class clsImage;

namespace JpegTestFiles {

// The picture as a 4:2:0 JPEG; progressive uses libjpeg's standard scan script.
QByteArray Encode(const clsImage& picture, bool progressive, int quality = 90);
// The same file with its frame header claiming width x height.
QByteArray WithSize(QByteArray jpeg, int width, int height);
// Offset of the first byte after the n-th (1-based) scan header; -1 when there is none.
qsizetype ScanData(const QByteArray& jpeg, int n = 1);
// Offset of the marker that ends the n-th scan's coded data.
qsizetype ScanDataEnd(const QByteArray& jpeg, int n = 1);

}  // namespace JpegTestFiles
