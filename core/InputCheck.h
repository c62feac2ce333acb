#pragma once
// InputCheck: why a picture of a batch cannot be done, found before any decoding, in the
// words a result line gives: "not a regular file", "permission denied", "a PNG picture named
// .jpg", "read-only file system". Empty when nothing stands in the way.
#include <QString>

class InputCheck {
 public:
  // A name given by the user: a folder, or a picture file as Picture() takes it.
  static QString Named(const QString& path);
  // A folder is entered: its names can be listed and its files opened.
  static QString Folder(const QString& path);
  // A picture file: regular, readable, and its content the format its name says (the
  // decoders go by the name).
  static QString Picture(const QString& path);
  // Where dest goes can be written: its file system (that of its nearest existing folder)
  // is not mounted read-only.
  static QString Destination(const QString& dest);
};
