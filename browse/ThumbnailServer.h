#pragma once
// The trimjet-thumbnailer helper's side: answers ThumbnailClient's requests with
// EngineThumbnail, one file at a time, in a process of its own so that libvips' one error
// buffer and a decoder crash stay away from the window's process.
namespace ThumbnailServer {

// Serves requests on a connected socket until the client closes it; 0 then, 1 when the
// client broke the conversation.
int Serve(int fd);

}  // namespace ThumbnailServer
