#pragma once
// The name rules of Save and Save As: every save writes a JPEG, so a name whose extension is
// not JPG or JPEG (any letter case) gets ".jpg" instead; and names with characters no file
// name may hold are refused.
#include <QString>

namespace SaveName {

// The characters refused in a file name, in the order the message lists them.
inline constexpr const char* kInvalidChars = "/\\:*\"?<>|";

// a.b.png -> a.b.jpg, name -> name.jpg, x.Jpg stays; folders are left alone (my.dir/name ->
// my.dir/name.jpg).
QString JpegName(const QString& fileName);
// Whether the name part (after the last "/") holds one of kInvalidChars.
bool HasInvalidChars(const QString& fileName);

}  // namespace SaveName
