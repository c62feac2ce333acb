#include "engine/JpegDestination.h"

#include <algorithm>

#include "engine/PictureMetadata.h"

namespace {

bool Grow(JpegDestination* d, qsizetype used) {
  const qsizetype next = std::max<qsizetype>(used * 2, 64 * 1024);
  if (next > 0x7FFF0000) return false;
  d->out->resize(next);
  d->pub.next_output_byte = reinterpret_cast<JOCTET*>(d->out->data()) + used;
  d->pub.free_in_buffer = std::size_t(next - used);
  return true;
}

void InitDestination(j_compress_ptr cinfo) {
  auto* d = reinterpret_cast<JpegDestination*>(cinfo->dest);
  if (d->out->isEmpty()) d->out->resize(64 * 1024);
  d->pub.next_output_byte = reinterpret_cast<JOCTET*>(d->out->data());
  d->pub.free_in_buffer = std::size_t(d->out->size());
}

boolean EmptyOutput(j_compress_ptr cinfo) {
  auto* d = reinterpret_cast<JpegDestination*>(cinfo->dest);
  // libjpeg asks only when the whole buffer is full.
  if (!Grow(d, d->out->size())) {
    cinfo->err->msg_code = 0;  // the message text is never shown
    cinfo->err->error_exit(reinterpret_cast<j_common_ptr>(cinfo));
  }
  return TRUE;
}

void TermDestination(j_compress_ptr cinfo) {
  auto* d = reinterpret_cast<JpegDestination*>(cinfo->dest);
  d->out->resize(d->out->size() - qsizetype(d->pub.free_in_buffer));
}

void WriteMarker(jpeg_compress_struct& cinfo, int marker, const QByteArray& payload) {
  if (payload.isEmpty() || payload.size() > 65533) return;
  jpeg_write_marker(&cinfo, marker, reinterpret_cast<const JOCTET*>(payload.constData()),
                    unsigned(payload.size()));
}

}  // namespace

void WriteJpegMetadata(jpeg_compress_struct& cinfo, const PictureMetadata* meta) {
  if (!meta) return;
  WriteMarker(cinfo, JPEG_APP0 + 1, meta->ExifPayload());
  WriteMarker(cinfo, JPEG_APP0 + 1, meta->XmpPayload());
  WriteMarker(cinfo, JPEG_APP0 + 13, meta->IptcPayload());
}

void JpegDestination::Attach(jpeg_compress_struct& cinfo, QByteArray& bytes) {
  out = &bytes;
  pub.init_destination = InitDestination;
  pub.empty_output_buffer = EmptyOutput;
  pub.term_destination = TermDestination;
  cinfo.dest = &pub;
}
