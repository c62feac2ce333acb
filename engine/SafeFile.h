#pragma once
// Reading whole files and replacing files the user keeps without ever losing the old one:
// the new bytes go to a temporary file in the same folder, which is renamed over the target.
#include <QByteArray>
#include <QString>
#include <QStringList>

namespace SafeFile {

// True when the file exists and its permission bits allow nobody to write it. Such a file
// is refused even for root, who could otherwise rename over it.
bool IsWriteProtected(const QString& path);
// Writes bytes to path atomically; false leaves any existing file exactly as it was.
bool Replace(const QString& path, const QByteArray& bytes);
// True for a path that names no file because the file system's name was not valid UTF-8:
// the program got it with replacement characters and cannot open it under that name.
bool NameUnreadable(const QString& path);
// Names in a folder that are not valid UTF-8, with replacement characters. Qt's listings leave
// them out without a word; listed, they can at least be reported (NameUnreadable).
QStringList UndecodableNames(const QString& folder);
// Why a listed path cannot be opened: the name problem above, else missing ("no such file").
QString MissingReason(const QString& path);
// The first maxBytes bytes (all with a negative count); false when it cannot be read.
bool Read(const QString& path, QByteArray& bytes, qint64 maxBytes = -1);

}  // namespace SafeFile
