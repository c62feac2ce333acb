#include "engine/JpegSegments.h"

#include <QRegularExpression>
#include <QString>

#include "engine/ExifOrientation.h"

namespace {

constexpr unsigned char kSos = 0xDA, kEoi = 0xD9, kApp1 = 0xE1, kApp2 = 0xE2;

unsigned At(const QByteArray& b, qsizetype i) { return static_cast<unsigned char>(b[i]); }

bool Standalone(unsigned marker) { return marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7); }

// One marker segment before the picture's data: start of its FF, marker, whole length.
struct Segment {
  qsizetype at = 0;
  unsigned marker = 0;
  qsizetype length = 0;
  QByteArray Payload(const QByteArray& b) const { return b.mid(at + 4, length - 4); }
};

// Walks the segments from SOI up to the first SOS; false when the file is not laid out so.
template <typename Visit>
bool Walk(const QByteArray& b, Visit visit) {
  if (b.size() < 4 || At(b, 0) != 0xFF || At(b, 1) != 0xD8) return false;
  qsizetype i = 2;
  while (i + 4 <= b.size()) {
    if (At(b, i) != 0xFF) return false;
    while (i + 1 < b.size() && At(b, i + 1) == 0xFF) ++i;  // fill bytes
    Segment s;
    s.at = i;
    s.marker = At(b, i + 1);
    s.length = Standalone(s.marker) ? 2 : 2 + ((qsizetype(At(b, i + 2)) << 8 | At(b, i + 3)));
    if (s.length < 2 || i + s.length > b.size()) return false;
    if (!visit(s)) return true;
    i += s.length;
  }
  return false;
}

bool IsMpf(const QByteArray& b, const Segment& s) {
  return s.marker == kApp2 && s.Payload(b).startsWith(QByteArrayLiteral("MPF\0"));
}

QByteArray Xmp(const QByteArray& b) {
  QByteArray xmp;
  Walk(b, [&](const Segment& s) {
    if (s.marker == kApp1 && s.Payload(b).startsWith("http://ns.adobe.com/xap/1.0/"))
      xmp += s.Payload(b);
    return s.marker != kSos;
  });
  return xmp;
}

// A small EXIF block that only says how the picture is turned.
QByteArray OrientationExif(int orientation) {
  QByteArray e("Exif\0\0II*\0\x08\0\0\0\x01\0\x12\x01\x03\0\x01\0\0\0", 24);
  e += char(orientation);
  e += QByteArray(7, '\0');  // rest of the value, then no next directory
  return e;
}

}  // namespace

qsizetype JpegSegments::PictureEnd(const QByteArray& b) {
  qsizetype data = 0;
  if (!Walk(b,
            [&](const Segment& s) {
              if (s.marker != kSos) return true;
              data = s.at + s.length;
              return false;
            }) ||
      data == 0)
    return 0;
  // Entropy-coded data, and between progressive scans further segments, up to EOI.
  for (qsizetype i = data; i + 1 < b.size();) {
    if (At(b, i) != 0xFF) {
      ++i;
      continue;
    }
    const unsigned next = At(b, i + 1);
    if (next == 0x00 || next == 0xFF || Standalone(next)) {
      i += next == 0xFF ? 1 : 2;
    } else if (next == kEoi) {
      return i + 2;
    } else {
      if (i + 4 > b.size()) return 0;
      i += 2 + ((qsizetype(At(b, i + 2)) << 8) | At(b, i + 3));
    }
  }
  return 0;
}

JpegSegments::Trailer JpegSegments::TrailerKind(const QByteArray& b) {
  const qsizetype end = PictureEnd(b);
  if (end == 0) return Trailer::kNone;  // nothing known to follow
  bool padding = true;
  for (qsizetype i = end; i < b.size() && padding; ++i) padding = At(b, i) == 0 || At(b, i) == 0xFF;
  if (padding) return Trailer::kNone;
  bool mpf = false;
  Walk(b, [&](const Segment& s) {
    mpf = mpf || IsMpf(b, s);
    return s.marker != kSos;
  });
  if (mpf) return Trailer::kPictures;
  // Motion photos name the video's length from the end of the file (MicroVideoOffset, or the
  // length of the container's last item); it must lie after the picture and be an MP4/QuickTime.
  static const QRegularExpression kLength(
      QStringLiteral("(?:MicroVideoOffset|Item:Length)\\s*=\\s*\"(\\d+)\""));
  const QString xmp = QString::fromUtf8(Xmp(b));
  if (!xmp.contains(QLatin1String("MicroVideo")) && !xmp.contains(QLatin1String("MotionPhoto")))
    return Trailer::kUnknown;
  for (auto m = kLength.globalMatch(xmp); m.hasNext();) {
    const qsizetype length = m.next().captured(1).toLongLong();
    const qsizetype start = b.size() - length;
    if (length > 8 && start >= end && b.mid(start + 4, 4) == "ftyp") return Trailer::kMotionVideo;
  }
  return Trailer::kUnknown;
}

QString JpegSegments::TrailerText(Trailer kind) {
  switch (kind) {
    case Trailer::kMotionVideo:
      return QStringLiteral("its motion photo video");
    case Trailer::kPictures:
      return QStringLiteral("its further pictures (MPF)");
    default:
      return QStringLiteral("the data after its end marker");
  }
}

QByteArray JpegSegments::Stripped(const QByteArray& b) {
  const qsizetype end = PictureEnd(b);
  if (end == 0) return {};
  QByteArray out("\xFF\xD8", 2);
  Walk(b, [&](const Segment& s) {
    const QByteArray payload = s.Payload(b);
    if (s.marker == kApp1 && payload.startsWith(QByteArrayLiteral("Exif\0\0"))) {
      const int orientation = ExifOrientation::FromApp1(
          reinterpret_cast<const std::uint8_t*>(payload.constData()), std::size_t(payload.size()));
      if (orientation == 1) return false;
      const QByteArray exif = OrientationExif(orientation);
      const qsizetype length = exif.size() + 2;
      out += QByteArray("\xFF\xE1", 2) + char(length >> 8) + char(length & 0xFF) + exif;
      return false;
    }
    return s.marker != kSos;
  });
  Walk(b, [&](const Segment& s) {
    const QByteArray payload = s.Payload(b);
    // Tables, frame, restarts, extensions; of the blocks, only those decoding reads.
    bool keep = s.marker < 0xE0 || (s.marker >= 0xF0 && s.marker != 0xFE);
    if (s.marker == 0xE0) keep = payload.startsWith(QByteArrayLiteral("JFIF\0"));
    if (s.marker == kApp2) keep = payload.startsWith("ICC_PROFILE");
    if (s.marker == 0xEE) keep = payload.startsWith("Adobe");
    if (s.marker == kSos) {
      out += b.mid(s.at, end - s.at);
      return false;
    }
    if (keep) out += b.mid(s.at, s.length);
    return true;
  });
  return out;
}
