#pragma once
// For engine sources only: runs a libvips pipeline over a picture and stores its 8-bit RGB
// result, with the same error checks as every other libvips call of the engine.
#include <functional>
#include <vips/vips8>

class ImageDescriptor;

namespace VipsPipeline {

// op gets a view that borrows src's pixels. A fresh out is filled only on success; it must not be
// src itself; an out that already has the result's size is drawn into in place.
bool Run(const ImageDescriptor& src, const std::function<vips::VImage(vips::VImage)>& op,
         ImageDescriptor& out);

}  // namespace VipsPipeline
