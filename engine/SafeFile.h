#pragma once
// Reading whole files and replacing files the user keeps without ever losing the old one:
// the new bytes go to a temporary file in the same folder, which is renamed over the target.
// A replaced file keeps its owner, group, permission bits and extended attributes, and the
// folder is synced after the rename so that a power cut cannot undo it.
#include <QByteArray>
#include <QString>
#include <QStringList>

namespace SafeFile {

// True when the file exists and its permission bits allow nobody to write it. Such a file
// is refused even for root, who could otherwise rename over it.
bool IsWriteProtected(const QString& path);
// True for a path that names no file because the file system's name was not valid UTF-8:
// the program got it with replacement characters and cannot open it under that name.
bool NameUnreadable(const QString& path);
// Names in a folder that are not valid UTF-8, with replacement characters. Qt's listings leave
// them out without a word; listed, they can at least be reported (NameUnreadable).
QStringList UndecodableNames(const QString& folder);
// Why a listed path cannot be opened: the name problem above, else missing ("no such file").
QString MissingReason(const QString& path);
// Writes bytes to path atomically; false leaves any existing file exactly as it was.
// A symbolic link at path is replaced by the file itself; its target is never written.
// A non-empty dateFrom gives the new file that file's modification time (path itself: the
// time of the file replaced). On failure reason reads "cannot write PATH: disk full" and
// the like.
bool Replace(const QString& path, const QByteArray& bytes, QString* reason = nullptr,
             const QString& dateFrom = QString());
// The first maxBytes bytes (all with a negative count); false when it cannot be read.
bool Read(const QString& path, QByteArray& bytes, qint64 maxBytes = -1);
// errno in the words the messages use: "permission denied", "disk full", ...
QString ErrorText(int error);

}  // namespace SafeFile
