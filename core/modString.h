#pragma once
// Taking file paths apart, making output folders and reading hand-off file lists.
// Character positions are those of the callers' texts; the separator is passed in
// ("/" for paths on this platform, "?" or NUL for file lists).
#include <QString>

namespace modString {

// Text after the last "." (case kept); empty when there is no ".".
QString GetExtension(const QString& path);
// Text before the last "."; the whole text when there is no ".".
QString RemoveExtension(const QString& path);
// Text after the last separator; with bStrip, cut before its first "." (a.b.jpg -> a).
QString GetFileTitle(const QString& path, bool bStrip, const QString& separator);
// Text before the last separator when it stands at the second character or later; else "".
QString GetFolderPart(const QString& path, const QString& separator);
// Creates every missing folder before each "/" after the root; a path to be created whole
// must end with "/". True when the last such folder exists afterwards.
bool CreatePath(const QString& path);
// Reads one full path from a "folder?name?name" list and leaves the rest in list.
// A list without the separator is one path. Empty result: the list is used up.
QString NextPathFromList(QString& list, QChar separator);

}  // namespace modString
