#pragma once
// The one door to libjpeg-turbo: every JPEG the engine writes or reads goes through here,
// so the file a user saves has exactly the bytes and pixels that the preview promised.
#include <QByteArray>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "engine/ChromaChoice.h"

class ImageDescriptor;
class PictureMetadata;
class RowSink;

struct jpeg_decompress_struct;

namespace JpegCodec {

// What the engine asks of the encoder: the smallest file for a quality. plain, the default, is
// libjpeg-turbo's own encoder; the tuned one (TunedJpegEncoder) gives fewer bytes at the same
// look but takes several times longer, so it is asked for.
struct Settings {
  int quality = 70;                            // 1..100, clamped
  bool plain = true;                           // libjpeg-turbo: annex K tables, rounding
  bool trellis = true;                         // tuned: rate-distortion quantisation
  std::optional<ChromaChoice::Layout> chroma;  // unset: tuned chooses, plain subsample420
  bool optimizeCoding = true;                  // Huffman tables made for the picture
  bool accurateDct = true;                     // integer slow DCT: the fast one costs quality
  bool subsample420 = true;                    // plain: 2x2 chroma
  bool progressive = false;                    // plain: libjpeg's simple progression; tuned: the
                                               // smallest of three scripts
  bool greyAsOneComponent = true;              // a picture of only greys as one component
  const PictureMetadata* metadata = nullptr;   // written as APP1/APP13 markers when given
  // Set: the encoder stops between strips of rows and gives nothing (a preview of a position
  // the user has left).
  const std::atomic<bool>* cancel = nullptr;
};

// What a decode found besides the pixels.
struct Extras {
  QByteArray exif;  // APP1 payloads, leads included
  QByteArray xmp;
  QByteArray iptc;  // APP13 payload
  QByteArray icc;   // the whole embedded colour profile
  bool tooManyScans = false;
  // libjpeg's warnings of data that ends early or is corrupt; the pixels they touched are
  // grey or wrong, which nothing else shows.
  int dataLost = 0;
};

struct Header {
  int width = 0;
  int height = 0;
  bool rgbDecodable = false;  // false for CMYK/YCCK, which this door does not convert
};

// Encodes the picture; false (and out untouched) on failure.
bool Encode(const ImageDescriptor& picture, const Settings& settings, QByteArray& out);
// The first EXIF orientation other than 1 among a decoder's saved APP1 markers, else 1.
int OrientationOf(const jpeg_decompress_struct& cinfo);
// The settings of every picture the program writes, previews included, so that a size shown
// is the size saved. metadata null: none is written.
Settings SettingsFor(int quality, bool progressive, bool plain,
                     const PictureMetadata* metadata = nullptr);
bool ReadHeader(const std::uint8_t* data, std::size_t size, Header& header);
// Decodes into target, reusing its buffer when it already has the JPEG's size; the
// EXIF orientation (1..8) is reported, not applied. A file cut short gives the rows its data
// reached, grey below, when at least the first band of rows (8 or 16) is complete; it is
// refused when no row is, and when it holds less data than its claimed size could take at
// the least (under a bit per 8 x 8 block), before any pixels are allocated. On failure the
// target is empty. A progressive file of more scans than the engine allows is refused early.
bool Decode(const std::uint8_t* data, std::size_t size, ImageDescriptor& target, int* orientation,
            Extras* extras = nullptr);
// Decode's checks and rows, handed to sink instead of a frame; extras and orientation are
// filled before sink.Begin. False when the file or the sink refused.
bool DecodeRows(const std::uint8_t* data, std::size_t size, RowSink& sink, int* orientation,
                Extras* extras = nullptr);
// Counts the scans of a JPEG by its markers, without decoding; stops counting at limit.
int CountScans(const std::uint8_t* data, std::size_t size, int limit);

}  // namespace JpegCodec
