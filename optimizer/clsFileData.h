#pragma once
// One whole file held as bytes: the optimiser reads its picture file once and keeps it, so
// that Reset rebuilds the picture as first loaded even after Save replaced the file.
#include <QByteArray>
#include <QString>

class clsFileData {
 public:
  // True when the name is not empty and names a plain, visible, non-empty file that could be
  // read whole; then the bytes and the name part are kept. Otherwise nothing changes.
  bool OpenFile(const QString& fileName);
  // The name with extension and without folder; empty while nothing is held.
  QString GetFileName() const { return fileName_; }
  QByteArray GetBuffer() const { return buffer_; }
  qint64 Length() const { return buffer_.size(); }
  void CloseFile();

 private:
  QByteArray buffer_;
  QString fileName_;
};
