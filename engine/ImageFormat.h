#pragma once
// The image object's own format codes: from a file's extension, or from its first bytes
// when the extension says nothing.
#include <QByteArray>
#include <QString>
#include <QStringList>

namespace ImageFormat {

enum Code : int {
  kUnknown = 0,
  kBmp = 1,
  kJpeg = 2,
  kGif = 3,
  kTiff = 4,
  kPng = 5,
  kPcx = 6,
  kTga = 7,
  // Read only, after the seven formats of the old program.
  kWebp = 8,
  kHeif = 9,  // HEIC and HEIF
  kAvif = 10
};

// Code of a path's extension, compared in upper case; kUnknown for anything else.
Code FromExtension(const QString& path);
// Every extension that is read, lower case, in the order the open dialogs list them.
QStringList Extensions();
// "*.jpg *.jpeg ... *.avif": the pattern list of the open dialogs' filter.
QString FilterPatterns();
// Tries JPEG, BMP, GIF, TIFF, PNG, WebP, HEIF/AVIF, then (only with withFileOnly) PCX and TGA,
// which have no reliable signature and are recognised from files only.
Code FromContent(const QByteArray& head, bool withFileOnly);
// Whether the bytes can be a file of that format. Needed for BMP, PCX and TGA, whose
// decoder (ImageMagick) would decode any format it recognises, drawings and scripts
// included; the other formats' decoders take nothing but their own.
bool ContentFits(const QByteArray& bytes, Code format);

}  // namespace ImageFormat
