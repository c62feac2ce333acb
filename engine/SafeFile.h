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
// What tells one file from another at a name: an editor's atomic save gives a new inode, an
// append a new size, a rewrite in place a new modification time.
struct Identity {
  quint64 device = 0;
  quint64 inode = 0;
  qint64 size = -1;  // -1: nothing there
  qint64 seconds = 0;
  qint64 nanoseconds = 0;
  bool operator==(const Identity&) const = default;
};
// The file at path (links followed); size -1 when there is none.
Identity IdentityOf(const QString& path);
// dest names source itself: the same text, or an existing file (not a link to it) that
// resolves to the same place. Writing to dest would then replace the source.
bool IsSameFile(const QString& source, const QString& dest);
// The reason given when a source is no longer the file that was read.
QString ChangedText();
// Writes bytes to path atomically; false leaves any existing file exactly as it was.
// A file whose owner or group the replacement could not keep (another user's file in a folder
// the user may write) is refused rather than given to the user.
// A symbolic link at path is replaced by the file itself; its target is never written.
// A non-empty dateFrom gives the new file that file's modification time (path itself: the
// time of the file replaced). On failure reason reads "cannot write PATH: disk full" and
// the like.
// With unchanged, the file at path must still be that one just before the rename.
bool Replace(const QString& path, const QByteArray& bytes, QString* reason = nullptr,
             const QString& dateFrom = QString(), const Identity* unchanged = nullptr);
// Removes the temporary file of a Replace under way, from a signal handler: only system
// calls that are safe there.
void RemovePendingTemporary();
// The first maxBytes bytes (all with a negative count); false when it cannot be read.
bool Read(const QString& path, QByteArray& bytes, qint64 maxBytes = -1);
// errno in the words the messages use: "permission denied", "disk full", ...
QString ErrorText(int error);

}  // namespace SafeFile
