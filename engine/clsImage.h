#pragma once
// clsImage: one 24-bit picture in memory, the program's only picture type. It loads every
// supported format, scales and paints itself, and makes the JPEG a user will get.
//
// Ownership: image objects are shared by reference. Windows and other holders keep a
// std::shared_ptr<clsImage>; the object owns its pixels and frees them in ClearUp or when
// the last holder lets go. Copies are only ever explicit (GetNewInstance). Objects handed
// out by GetNewInstance, GetScaledInstance and GetOptimizedInstance belong to the caller.
// Not thread-safe: the engine runs on one thread at a time (libvips' error reporting is
// process-wide). The Effect_ members work in place on the pixels; EffectCatalog names them.
#include <QByteArray>
#include <QImage>
#include <QPainter>
#include <QString>
#include <array>
#include <atomic>
#include <functional>
#include <memory>

#include "engine/ImageDescriptor.h"
#include "engine/PictureMetadata.h"
#include "engine/QtSurface.h"

class clsImage {
 public:
  using StretchMode = QtSurface::StretchMode;
  static constexpr int kBufferQuality = 50;  // thumbnails kept as JPEG bytes

  clsImage() = default;
  ~clsImage() { ClearUp(); }
  clsImage(const clsImage&) = delete;
  clsImage& operator=(const clsImage&) = delete;

  // Non-zero exactly while a picture is held; differs between pictures, so two holders
  // can tell whether they show the same one.
  int hDC() const { return dc_; }
  int Width() const { return pixels_.Width(); }
  int Height() const { return pixels_.Height(); }
  int BitCount() const { return pixels_.Empty() ? 0 : 24; }

  // A black picture; 0 on success, kImageNoMemory beyond the size limits, kImageBadArgument
  // for a size below 1 or a depth other than 24.
  int Create(int width, int height, int bitsPerPixel);
  // The extension decides the format, and content of another format is refused; a file
  // without a known extension is recognised by its content.
  bool CreateFromFile(const QString& fileName);
  // From memory the content decides; PCX and TGA, which have no signature, are refused.
  bool CreateFromBuffer(const QByteArray& bytes);
  // As CreateFromFile would load a file of that extension ("tga", ".PCX"): the extension
  // decides, so PCX and TGA bytes load too; an empty or unknown one leaves it to the content.
  bool CreateFromBuffer(const QByteArray& bytes, const QString& extension);
  void ClearUp();
  // Why the last load failed, when the reason is worth telling: "too large" for files and
  // pictures beyond the engine's limits (file size, pixels, memory, progressive scans);
  // empty otherwise (not a picture, damaged).
  const QString& LoadError() const { return loadError_; }
  // The last load met picture data that ends early or is damaged. A JPEG is then held with
  // grey or wrong pixels where data was lost; other formats are refused.
  bool Incomplete() const { return incomplete_; }

  // EXIF, XMP and IPTC of the loaded file; every JPEG made from this picture carries them
  // (sizes included) unless stripping is set. Copies and scaled copies keep both.
  const PictureMetadata& Metadata() const { return metadata_; }
  void SetStripMetadata(bool strip) { stripMetadata_ = strip; }
  bool StripMetadata() const { return stripMetadata_; }
  // Progressive JPEG scans (libjpeg's simple progression) for every JPEG made from this
  // picture; copies and scaled copies keep the choice.
  void SetProgressive(bool progressive) { progressive_ = progressive; }
  bool Progressive() const { return progressive_; }
  // libjpeg-turbo's plain encoder (the default) or the tuned one: the plain one is several
  // times faster, with larger files at the same look. Copies and scaled copies keep the choice.
  void SetPlainEncoder(bool plain) { plainEncoder_ = plain; }
  bool PlainEncoder() const { return plainEncoder_; }

  // Natural size when width and height are both negative, else stretched colour-on-colour.
  void PaintPicture(QPainter& dc, int left, int top, int width = -1, int height = -1) const;
  // Negative sizes stand for the picture's own width or height.
  void Stretch(QPainter& dc, int left, int top, int width, int height, int srcLeft, int srcTop,
               int srcWidth, int srcHeight,
               QPainter::CompositionMode rop = QPainter::CompositionMode_Source,
               StretchMode mode = StretchMode::kColorOnColor) const;
  std::shared_ptr<clsImage> GetNewInstance() const;
  // Sizes below 1 become 1 and are written back. dest is reused when it has the new size.
  // Fast = nearest neighbour, otherwise a smooth downscale. Null when nothing was drawn.
  std::shared_ptr<clsImage> GetScaledInstance(int& newWidth, int& newHeight,
                                              std::shared_ptr<clsImage> dest, bool fast,
                                              bool keepProportions) const;
  // Replaces the picture by a scaled one; on failure the old picture stays.
  void Resize(int newWidth, int newHeight, bool fast);

  // JPEG at a quality. Every writer uses the same encoder and settings, so a file has
  // exactly the size GetOptimizedInstance reported for the same picture and quality.
  bool SaveIJLjpg(const QString& fileName, int quality) const;
  bool LoadIJLjpg(const QString& fileName);
  bool LoadIJLjpgFromBuffer(const QByteArray& bytes);
  // Encodes in memory and decodes into dest (or a new object); size gets the JPEG's length
  // and lossless whether it is the loaded JPEG tidied (see EncodeJpeg).
  // On a failed encode the result is returned untouched and size keeps its value; so it is
  // when cancel is set before the round trip ends.
  std::shared_ptr<clsImage> GetOptimizedInstance(int quality,
                                                 std::shared_ptr<clsImage> dest = nullptr,
                                                 int* size = nullptr, bool* lossless = nullptr,
                                                 const std::atomic<bool>* cancel = nullptr) const;
  // Quality-50 JPEG bytes (empty when encoding failed) and back.
  void SaveToBuffer(QByteArray& bytes) const;
  void LoadFromBuffer(const QByteArray& bytes);
  // Same encoder as SaveIJLjpg; mode is accepted for callers, SetProgressive decides the scans.
  bool savejpg(const QString& fileName, int quality, int mode) const;
  // The shared encoder: the bytes SaveIJLjpg would write, metadata included. A picture still
  // holding exactly the pixels of the JPEG file it was loaded from (upright, sRGB or no
  // profile, data complete), asked for a quality not below that file's own, gets the file's
  // coefficients rewritten instead (lossless set) when that is not larger than the file.
  bool EncodeJpeg(int quality, QByteArray& out, bool* lossless = nullptr) const;

  // Effects, in place. Each returns false and leaves the picture as it was when it fails
  // or there is no picture.
  bool Effect_DetectOutline();
  bool Effect_FlipImage();    // top to bottom
  bool Effect_MirrorImage();  // left to right
  bool Effect_BrightenMidRange();
  bool Effect_NegativeImage();
  bool Effect_Sharpen();
  bool Effect_SharpenMore();
  bool Effect_GrayScale();
  // Threshold 0..255: a neighbour joins the average only while it differs from the pixel
  // by at most the threshold, so 0 changes nothing and edges stay sharp at low levels.
  bool Effect_Blur(int threshold);
  bool Effect_ChangeBrightness(int amount);  // -255..255 added to every channel
  bool Effect_Delate(int amount);            // 0..255: brightest neighbour, blended by amount
  bool Effect_Kodalith(int threshold);       // black below the threshold, white from it
  bool Effect_LimitBrightnessLevel(int upperLimit);  // channels above the limit clipped
  bool Effect_RemoveNoise(int filterSize);  // median over a 3..11 square; even sizes round up
  // Degrees, clockwise as seen on screen. Enlarge grows the picture to the rotated bounding box;
  // corners the rotated picture does not cover are white.
  bool Effect_Rotate(double angle, bool enlarge);
  // The size Effect_Rotate gives a width x height picture when it enlarges; an angle that is
  // not finite gives the size unchanged.
  static void RotatedSize(int width, int height, double angle, int& newWidth, int& newHeight);

  // The pixels themselves, for painting into the picture (QPainter on Surface()) and for
  // the effect operations, which work in place on them.
  QImage Surface() { return QtSurface::Wrap(pixels_); }
  const ImageDescriptor& Pixels() const { return pixels_; }

 private:
  void Attach(ImageDescriptor&& pixels);
  void Reattached(const std::uint8_t* previousBits);
  // foreign: set when the JPEG is in a colour space (CMYK) only libvips converts.
  // withExtras: keep its metadata and convert its colour profile, as for a user's file.
  bool DecodeJpeg(const std::uint8_t* data, std::size_t size, bool* foreign = nullptr,
                  bool withExtras = false);
  bool ReadJpegFile(const QString& fileName, bool* foreign);
  // Bytes of a format (an ImageFormat::Code) into the picture; false leaves it empty.
  bool DecodeBytes(const QByteArray& bytes, int format);
  // Effect helpers: a libvips pipeline over the picture, a table over every channel, and
  // taking over a result (sameSize: refuse one of another size).
  // Op is a libvips pipeline; defined and used only where the effects are.
  template <typename Op>
  bool RunEffect(const Op& op, bool sameSize = true);
  bool MapEffect(const std::array<std::uint8_t, 256>& table);
  bool TakeEffectResult(ImageDescriptor&& result, bool sameSize);

  void TakeMetadataOf(const clsImage& other);
  // The lossless rewrite of the loaded file, decoded into decoded; false when it is not
  // allowed or would not give this picture's pixels (the file is then never tried again).
  bool TidyJpeg(int quality, QByteArray& out, clsImage& decoded) const;

  ImageDescriptor pixels_;
  int dc_ = 0;
  PictureMetadata metadata_;
  bool stripMetadata_ = false;
  bool progressive_ = false;
  bool plainEncoder_ = true;
  // The JPEG file the pixels were decoded from, while a tidy of it may be possible.
  QByteArray sourceJpeg_;
  // Set once a rewrite did not give these pixels. An atomic flag rather than dropping the
  // bytes, since round trips of one picture may run on two threads at once (a drag).
  mutable std::atomic<bool> tidyRefused_{false};
  QString loadError_;
  bool incomplete_ = false;
};
