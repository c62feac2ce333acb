#include "settings/clsFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <QFileInfo>

#include "settings/Cp1252.h"

clsFile::~clsFile() { CloseFile(); }

bool clsFile::OpenFile(const QString& fileName, int fileOpenType) {
  CloseFile();
  readFailed_ = false;
  const bool read = fileOpenType & kRead;
  const bool write = fileOpenType & kWrite;
  const bool text = fileOpenType & kText;
  if (fileName.isEmpty() || (!read && !write)) return false;
  if (fileOpenType & kDeleteFirst) QFile::remove(fileName);

  file_.setFileName(fileName);
  if (read && !write) {
    if (!QFileInfo::exists(fileName)) return false;
    return file_.open(QIODevice::ReadOnly | (text ? QIODevice::Text : QIODevice::NotOpen));
  }
  if (read && write) return file_.open(QIODevice::ReadWrite | QIODevice::Unbuffered);
  if (text) return file_.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text);
  // QFile truncates whenever it opens a file write-only, so open the descriptor here to
  // write over the existing bytes from the start instead.
  const int fd =
      ::open(QFile::encodeName(fileName).constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  if (file_.open(fd, QIODevice::WriteOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle))
    return true;
  ::close(fd);
  return false;
}

quint64 clsFile::ReadValue(quint8 count) {
  const QByteArray bytes = file_.isOpen() ? file_.read(count) : QByteArray();
  if (bytes.size() < count) readFailed_ = true;
  quint64 value = 0;
  // Bytes past the eighth do not fit the result and are dropped.
  for (qsizetype i = 0; i < bytes.size() && i < 8; ++i)
    value |= quint64(static_cast<unsigned char>(bytes[i])) << (8 * i);
  return value;
}

QString clsFile::ReadString() {
  const auto length = static_cast<qint64>(ReadValue(2));
  if (readFailed_) return QString();
  const QByteArray bytes = file_.read(length);
  if (bytes.size() < length) readFailed_ = true;
  return Cp1252::ToUnicode(bytes);
}

int clsFile::GetFileNumber() const { return file_.isOpen() ? file_.handle() : -1; }

void clsFile::CloseFile() {
  if (file_.isOpen()) file_.close();
}
