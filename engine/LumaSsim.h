#pragma once
// LumaSsim: how alike two pictures look, by the structural similarity (SSIM) of their luma
// over 8 x 8 windows four pixels apart, averaged over the worst tenth of the windows. Luma
// alone: JPEG keeps colour at half size, and the eye judges detail by brightness. 1 is
// identical; JPEG artefacts lower it.
#include <cstdint>

class ImageDescriptor;

namespace LumaSsim {

// -1 when either picture is empty or their sizes differ. Pictures under 8 pixels a side
// count as one window of their own size.
double Compare(const ImageDescriptor& a, const ImageDescriptor& b);

}  // namespace LumaSsim
