#pragma once
// Ssimulacra2: how alike a picture and a distorted copy look, as SSIMULACRA 2 scores it (100
// identical, about 90 indistinguishable, 80 high, 70 medium, 50 low quality). It compares in
// the XYB colour space at six scales, so it sees colour damage that a luma measure misses.
// The original's half of the work is done once, so judging many trials of one picture costs
// only the distorted half each.
#include <optional>
#include <vector>

class ImageDescriptor;

class Ssimulacra2 {
 public:
  explicit Ssimulacra2(const ImageDescriptor& original);

  // Nothing when the distorted picture's size differs from the original's or either is empty.
  // Not for two threads at once: the working planes are kept for the next call.
  std::optional<double> Score(const ImageDescriptor& distorted);
  static std::optional<double> Compare(const ImageDescriptor& original,
                                       const ImageDescriptor& distorted);

  // One colour plane of floats, rows packed.
  struct Plane {
    int width = 0, height = 0;
    std::vector<float> values;
    void Resize(int w, int h);
    float* Row(int y) { return values.data() + std::size_t(y) * std::size_t(width); }
    const float* Row(int y) const { return values.data() + std::size_t(y) * std::size_t(width); }
  };
  using Planes = Plane[3];

 private:
  // The original at one scale: its XYB planes, their blur and the blur of their squares.
  struct Scale {
    Planes xyb, mean, squares;
  };
  struct Scratch {
    Planes linear, half, xyb;
    Plane work, product, mean, squares, cross;
  };
  std::vector<Scale> scales_;
  Scratch scratch_;
  int width_ = 0, height_ = 0;
};
