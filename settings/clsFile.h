#pragma once
// A record file opened by mode bits: the language reader's little-endian fields and
// strings, and a raw descriptor for callers that write binary data themselves.
#include <QFile>
#include <QString>
#include <QtGlobal>

class clsFile {
 public:
  // Mode bits of OpenFile. kCallerFlag is passed by callers and selects nothing.
  enum Mode { kRead = 1, kWrite = 2, kCallerFlag = 4, kText = 8, kDeleteFirst = 16 };

  clsFile() = default;
  ~clsFile();
  clsFile(const clsFile&) = delete;
  clsFile& operator=(const clsFile&) = delete;

  // Closes any open file, then opens by mode: read alone needs an existing file; write
  // alone creates the file and keeps its bytes (text output truncates); both opens binary
  // for reading and writing. False when nothing was opened.
  bool OpenFile(const QString& fileName, int fileOpenType = kRead | kCallerFlag);
  // Count bytes, the first least significant. Missing bytes count as 0 and set ReadFailed().
  quint64 ReadValue(quint8 count);
  // A 2-byte length, then that many Windows-1252 bytes. A short read keeps what was there.
  QString ReadString();
  // The descriptor of the open file, -1 when none is open. Writes through it are unbuffered.
  int GetFileNumber() const;
  void CloseFile();

  bool IsOpen() const { return file_.isOpen(); }
  // True once a read ran past the end of the file or failed; reset by OpenFile.
  bool ReadFailed() const { return readFailed_; }

 private:
  QFile file_;
  bool readFailed_ = false;
};
