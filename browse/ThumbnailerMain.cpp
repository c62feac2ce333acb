// trimjet-thumbnailer: makes the picture browser's thumbnails of files that need libvips, away
// from the window's process (see ThumbnailClient). Talks over the socket at fd 3.
#include "browse/ThumbnailProtocol.h"
#include "browse/ThumbnailServer.h"

int main() { return ThumbnailServer::Serve(ThumbnailProtocol::kSocketFd); }
