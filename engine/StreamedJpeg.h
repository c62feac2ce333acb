#pragma once
// StreamedJpeg: a picture file straight to a smaller (or same-sized) JPEG without ever holding
// it whole: decoding, area-average shrinking and encoding overlap on two threads. It gives
// the bytes clsImage would give (CreateFromFile, GetScaledInstance smooth, EncodeJpeg) or
// declines, and the caller then takes that path: a rotated or non-sRGB JPEG, a picture that
// grows, damaged data or any other failure.
#include <QByteArray>
#include <QSize>
#include <QString>
#include <functional>

namespace StreamedJpeg {

struct Request {
  int quality = 70;
  bool progressive = false;
  bool plain = true;  // libjpeg-turbo's plain encoder; false: the tuned one
  bool stripMetadata = false;
  // The size wanted for a picture of the given size; an invalid size declines.
  std::function<QSize(int width, int height)> size;
};

// out gets the JPEG, size its picture size; false when declined (out is then untouched).
bool Make(const QString& path, const Request& request, QByteArray& out, QSize& size);

}  // namespace StreamedJpeg
