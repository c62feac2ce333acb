#pragma once
// Format codes by file extension and the size text of file lists.
#include <QString>
#include <cstdint>

namespace modPublic {

// Picture format code of an extension (compared in upper case): 2 JPEG, 3 GIF,
// 4 BMP/TIFF, 5 PNG, 6 PCX, 7 TGA, 0 unsupported. Not the image object's own codes.
int GetImageType(const QString& extension);
// Small file-type icon number 1..4 for a format code.
inline int ImageTypeIcon(int imageType) { return (imageType & 3) + 1; }
// The unit after every size text.
inline constexpr char kKbUnit[] = " Kb";
// Bytes / 1024 rounded to one decimal, always with one decimal: "1.5 Kb", "2.0 Kb".
QString FormatKb(std::int64_t bytes);

}  // namespace modPublic
