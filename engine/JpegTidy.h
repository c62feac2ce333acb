#pragma once
// Lossless tidy of a JPEG: its DCT coefficients written again as they are, with Huffman
// tables made for the picture (and progressive scans when asked). Re-encoding a JPEG at a
// quality not below its own only adds loss and bytes; this adds neither.
#include <QByteArray>
#include <cstddef>
#include <cstdint>

class PictureMetadata;

namespace JpegTidy {

struct Settings {
  int quality = 70;  // the quality asked for; below the file's own the tidy is refused
  bool progressive = false;
  const PictureMetadata* metadata = nullptr;  // the markers a re-encode would write
};

// The IJG quality (1..100) whose scaled standard tables come nearest the file's (the lowest
// of equally near ones); 0 when the header cannot be read.
int SourceQuality(const std::uint8_t* data, std::size_t size);
// The tidied file in out; false (out untouched) when the quality asked for is below the
// file's own, the colour space is not one the engine decodes, its colours are not sRGB
// already (the rewrite carries no profile), the data is damaged or libjpeg fails. Markers
// other than the given metadata are not copied, as in a re-encode.
bool Rewrite(const std::uint8_t* data, std::size_t size, const Settings& settings,
             QByteArray& out);

}  // namespace JpegTidy
