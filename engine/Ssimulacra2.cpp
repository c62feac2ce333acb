#include "engine/Ssimulacra2.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "engine/ImageDescriptor.h"

namespace {

using Plane = Ssimulacra2::Plane;
using Planes = Ssimulacra2::Planes;

constexpr int kScales = 6;
constexpr float kC2 = 0.0009f;

// The measure's weights of its 108 sub-scores: per channel X, Y, B and per scale 1:1 to 1:32,
// the 1-norm of SSIM error, artefact and detail lost, then their 4-norms.
constexpr double kWeights[] = {
    0.0, 0.0007376606707406586, 0.0, 0.0, 0.0007793481682867309, 0.0,
    0.0, 0.0004371155730107379, 0.0, 1.1041726426657346, 0.00066284834129271, 0.00015231632783718752,
    0.0, 0.0016406437456599754, 0.0, 1.8422455520539298, 11.441172603757666, 0.0,
    0.0007989109436015163, 0.000176816438078653, 0.0, 1.8787594979546387, 10.94906990605142, 0.0,
    0.0007289346991508072, 0.9677937080626833, 0.0, 0.00014003424285435884, 0.9981766977854967,
    0.00031949755934435053,
    0.0004550992113792063, 0.0, 0.0, 0.0013648766163243398, 0.0, 0.0,
    0.0, 0.0, 0.0, 7.466890328078848, 0.0, 17.445833984131262,
    0.0006235601634041466, 0.0, 0.0, 6.683678146179332, 0.00037724407979611296, 1.027889937768264,
    225.20515300849274, 0.0, 0.0, 19.213238186143016, 0.0011401524586618361, 0.001237755635509985,
    176.39317598450694, 0.0, 0.0, 24.43300999870476, 0.28520802612117757, 0.0004485436923833408,
    0.0, 0.0, 0.0, 34.77906344483772, 44.835625328877896, 0.0,
    0.0, 0.0, 0.0, 0.0, 0.0, 0.0,
    0.0, 0.0008680556573291698, 0.0, 0.0, 0.0, 0.0,
    0.0, 0.0005313191874358747, 0.0, 0.00016533814161379112, 0.0, 0.0,
    0.0, 0.0, 0.0, 0.0004179171803251336, 0.0017290828234722833, 0.0,
    0.0020827005846636437, 0.0, 0.0, 8.826982764996862, 23.19243343998926, 0.0,
    95.1080498811086, 0.9863978034400682, 0.9834382792465353, 0.0012286405048278493,
    171.2667255897307, 0.9807858872435379,
    0.0, 0.0, 0.0, 0.0005130064588990679, 0.0, 0.00010854057858411537};
static_assert(std::size(kWeights) == 3 * kScales * 6);

// The opsin absorbance of the cone responses from linear sRGB, and its bias.
constexpr float kOpsin[3][3] = {{0.30f, 0.622f, 0.078f},
                                {0.23f, 0.692f, 0.078f},
                                {0.24342268924547819f, 0.20476744424496821f, 0.55180986650955360f}};
constexpr float kOpsinBias = 0.0037930732552754493f;

const std::array<float, 256>& LinearTable() {
  static const std::array<float, 256> table = [] {
    std::array<float, 256> t{};
    for (int i = 0; i < 256; ++i) {
      const double v = i / 255.0;
      t[std::size_t(i)] = float(v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4));
    }
    return t;
  }();
  return table;
}

void ToLinear(const ImageDescriptor& picture, Planes& linear) {
  const auto& table = LinearTable();
  for (Plane& p : linear) p.Resize(picture.Width(), picture.Height());
  for (int y = 0; y < picture.Height(); ++y) {
    const std::uint8_t* in = picture.Row(y);
    float *r = linear[0].Row(y), *g = linear[1].Row(y), *b = linear[2].Row(y);
    for (int x = 0; x < picture.Width(); ++x, in += 3) {
      r[x] = table[in[0]];
      g[x] = table[in[1]];
      b[x] = table[in[2]];
    }
  }
}

// 2 x 2 box average; an odd last row or column is averaged with itself.
void Halve(const Planes& in, Planes& out) {
  const int w = in[0].width, h = in[0].height, ow = (w + 1) / 2, oh = (h + 1) / 2;
  for (int c = 0; c < 3; ++c) {
    out[c].Resize(ow, oh);
    for (int y = 0; y < oh; ++y) {
      const float* r0 = in[c].Row(std::min(2 * y, h - 1));
      const float* r1 = in[c].Row(std::min(2 * y + 1, h - 1));
      float* o = out[c].Row(y);
      for (int x = 0; x < ow; ++x) {
        const int x0 = 2 * x, x1 = std::min(2 * x + 1, w - 1);
        o[x] = (r0[x0] + r0[x1] + r1[x0] + r1[x1]) * 0.25f;
      }
    }
  }
}

// The cube root of x >= 0: a guess from the exponent bits, then two Halley steps, exact to
// float precision; the library's cbrtf took a tenth of the measure's time.
inline float CubeRoot(float x) {
  if (x <= 0) return 0;
  std::uint32_t bits;
  std::memcpy(&bits, &x, sizeof bits);
  bits = bits / 3 + 709921077u;
  float guess;
  std::memcpy(&guess, &bits, sizeof guess);
  double y = guess;
  const double v = x;
  for (int i = 0; i < 2; ++i) {
    const double y3 = y * y * y;
    y *= (y3 + 2 * v) / (2 * y3 + v);
  }
  return float(y);
}

// XYB, shifted and scaled so each channel lies roughly in 0..1, with B taken relative to Y.
void ToXyb(const Planes& linear, Planes& xyb) {
  const float biasRoot = std::cbrt(kOpsinBias);
  const int w = linear[0].width, h = linear[0].height;
  for (Plane& p : xyb) p.Resize(w, h);
  for (int y = 0; y < h; ++y) {
    const float *r = linear[0].Row(y), *g = linear[1].Row(y), *b = linear[2].Row(y);
    float *ox = xyb[0].Row(y), *oy = xyb[1].Row(y), *ob = xyb[2].Row(y);
    for (int x = 0; x < w; ++x) {
      float cone[3];
      for (int i = 0; i < 3; ++i) {
        const float mixed = kOpsin[i][0] * r[x] + kOpsin[i][1] * g[x] + kOpsin[i][2] * b[x] + kOpsinBias;
        cone[i] = CubeRoot(std::max(mixed, 0.0f)) - biasRoot;
      }
      const float lumY = 0.5f * (cone[0] + cone[1]);
      ox[x] = 0.5f * (cone[0] - cone[1]) * 14.0f + 0.42f;
      oy[x] = lumY + 0.01f;
      ob[x] = cone[2] - lumY + 0.55f;
    }
  }
}

// The blur the measure was tuned with: the recursive approximation of a Gaussian of sigma 1.5
// by three truncated cosines (Charalampidis 2016), run in single precision like the original,
// whose rounding in smooth areas the published scores include. Outside the picture is zero.
constexpr int kRadius = 5;
constexpr float kFeed[3] = {0.05529523572608663f, -0.05883668702694999f, 0.012955819110517089f};
constexpr float kBack[3] = {-1.902113032590307f, -1.1755705045849463f, -1.2246467991473532e-16f};

// One step of a cosine's recursion, rounded as fused multiply-adds round it.
inline float Step(float feed, float sum, float back, float prev, float prev2) {
  const float t = float(-double(back) * prev - prev2);
  return float(double(feed) * sum + t);
}

// Across kRows rows at once: their recursions are independent, so the processor overlaps them.
constexpr int kRows = 4;
void BlurAcross(const float* const in[kRows], int w, float* const out[kRows]) {
  float prev[3][kRows] = {}, prev2[3][kRows] = {};
  for (int n = -kRadius + 1; n < w; ++n) {
    const int left = n - kRadius - 1, right = n + kRadius - 1;
    float sum[kRows], total[kRows] = {};
    for (int r = 0; r < kRows; ++r)
      sum[r] = (left >= 0 ? in[r][left] : 0.0f) + (right < w ? in[r][right] : 0.0f);
    for (int k = 0; k < 3; ++k)
      for (int r = 0; r < kRows; ++r) {
        const float o = Step(kFeed[k], sum[r], kBack[k], prev[k][r], prev2[k][r]);
        prev2[k][r] = prev[k][r];
        prev[k][r] = o;
        total[r] += o;
      }
    if (n >= 0)
      for (int r = 0; r < kRows; ++r) out[r][n] = total[r];
  }
}

// Blurs in into out; work is scratch of the same size.
void Blur(const Plane& in, Plane& work, Plane& out) {
  const int w = in.width, h = in.height;
  work.Resize(w, h);
  out.Resize(w, h);
  for (int y = 0; y < h; y += kRows) {
    // A last group short of rows repeats its last row.
    const float* rows[kRows];
    float* outs[kRows];
    for (int r = 0; r < kRows; ++r) {
      rows[r] = in.Row(std::min(y + r, h - 1));
      outs[r] = work.Row(std::min(y + r, h - 1));
    }
    BlurAcross(rows, w, outs);
  }
  // Down the columns, all columns at once: three rows of state per cosine.
  std::vector<float> state(std::size_t(w) * 6, 0.0f);
  const std::vector<float> zero(std::size_t(w), 0.0f);
  for (int n = -kRadius + 1; n < h; ++n) {
    const int top = n - kRadius - 1, bottom = n + kRadius - 1;
    const float* a = top >= 0 ? work.Row(top) : zero.data();
    const float* b = bottom < h ? work.Row(bottom) : zero.data();
    float* o = n >= 0 ? out.Row(n) : nullptr;
    for (int k = 0; k < 3; ++k) {
      float* prev = state.data() + std::size_t(2 * k) * std::size_t(w);
      float* prev2 = prev + w;
      const float feed = kFeed[k], back = kBack[k];
      for (int x = 0; x < w; ++x) {
        const float v = Step(feed, a[x] + b[x], back, prev[x], prev2[x]);
        prev2[x] = prev[x];
        prev[x] = v;
      }
    }
    if (!o) continue;
    const float *p1 = state.data(), *p3 = p1 + 2 * std::size_t(w), *p5 = p3 + 2 * std::size_t(w);
    for (int x = 0; x < w; ++x) o[x] = p1[x] + (p3[x] + p5[x]);
  }
}

void Multiply(const Plane& a, const Plane& b, Plane& out) {
  out.Resize(a.width, a.height);
  const std::size_t n = std::size_t(a.width) * std::size_t(a.height);
  for (std::size_t i = 0; i < n; ++i) out.values[i] = a.values[i] * b.values[i];
}

// How many scales a picture has: a scale is measured when the one before it was at least 8
// pixels a side.
int ScaleCount(int w, int h) {
  int count = 0;
  while (count < kScales && w >= 8 && h >= 8) {
    if (count++ > 0) {
      w = (w + 1) / 2;
      h = (h + 1) / 2;
    }
  }
  // The loop halves before measuring, so the last scale may be smaller than 8.
  return count;
}

// Which maps of a channel at a scale carry weight; the weights run over the scales measured,
// so a small picture reads them at other places. Many are zero, and a map whose norms all
// weigh nothing is not computed.
struct Use {
  bool any, ssim;
};
Use Weighed(int channel, int scale, int scales) {
  const double* w = kWeights + (channel * scales + scale) * 6;
  return {w[0] != 0 || w[1] != 0 || w[2] != 0 || w[3] != 0 || w[4] != 0 || w[5] != 0,
          w[0] != 0 || w[3] != 0};
}

double Quartic(double x) {
  x *= x;
  return x * x;
}

}  // namespace

void Ssimulacra2::Plane::Resize(int w, int h) {
  width = w;
  height = h;
  // Grows only: the coarser scales reuse the buffers of the finer ones.
  if (values.size() < std::size_t(w) * std::size_t(h)) values.resize(std::size_t(w) * std::size_t(h));
}

Ssimulacra2::Ssimulacra2(const ImageDescriptor& original) {
  if (original.Empty()) return;
  width_ = original.Width();
  height_ = original.Height();
  Planes linear, half;
  Plane work, product;
  ToLinear(original, linear);
  const int count = ScaleCount(width_, height_);
  for (int s = 0; s < count; ++s) {
    if (s > 0) {
      Halve(linear, half);
      std::swap(linear, half);
    }
    Scale& scale = scales_.emplace_back();
    ToXyb(linear, scale.xyb);
    for (int c = 0; c < 3; ++c) {
      const Use use = Weighed(c, s, count);
      if (use.any) Blur(scale.xyb[c], work, scale.mean[c]);
      if (!use.ssim) continue;
      Multiply(scale.xyb[c], scale.xyb[c], product);
      Blur(product, work, scale.squares[c]);
    }
  }
}

std::optional<double> Ssimulacra2::Score(const ImageDescriptor& distorted) {
  if (scales_.empty() || distorted.Width() != width_ || distorted.Height() != height_)
    return std::nullopt;
  // Per scale and channel: SSIM error, artefact and detail lost, each as 1-norm and 4-norm.
  double norms[kScales][3][6] = {};
  Scratch& t = scratch_;
  Planes &linear = t.linear, &half = t.half, &xyb = t.xyb;
  Plane &work = t.work, &product = t.product, &mean = t.mean, &squares = t.squares,
        &cross = t.cross;
  ToLinear(distorted, linear);
  for (std::size_t s = 0; s < scales_.size(); ++s) {
    if (s > 0) {
      Halve(linear, half);
      std::swap(linear, half);
    }
    ToXyb(linear, xyb);
    const Scale& ref = scales_[s];
    const int w = xyb[0].width, h = xyb[0].height;
    for (int c = 0; c < 3; ++c) {
      const Use use = Weighed(c, int(s), int(scales_.size()));
      if (!use.any) continue;
      Blur(xyb[c], work, mean);
      if (use.ssim) {
        Multiply(xyb[c], xyb[c], product);
        Blur(product, work, squares);
        Multiply(xyb[c], ref.xyb[c], product);
        Blur(product, work, cross);
      }
      double sums[6] = {};
      for (int y = 0; y < h; ++y) {
        const float *m1 = ref.mean[c].Row(y), *m2 = mean.Row(y);
        const float *p1 = ref.xyb[c].Row(y), *p2 = xyb[c].Row(y);
        for (int x = 0; x < w; ++x) {
          // Above zero: an edge the original lacks (ringing, blocks); below: one it lost.
          const double edge =
              (1.0 + std::abs(p2[x] - m2[x])) / (1.0 + std::abs(p1[x] - m1[x])) - 1.0;
          const double artefact = std::max(edge, 0.0), lost = std::max(-edge, 0.0);
          sums[1] += artefact;
          sums[4] += Quartic(artefact);
          sums[2] += lost;
          sums[5] += Quartic(lost);
        }
        if (!use.ssim) continue;
        const float *s11 = ref.squares[c].Row(y), *s22 = squares.Row(y), *s12 = cross.Row(y);
        for (int x = 0; x < w; ++x) {
          const float mu1 = m1[x], mu2 = m2[x];
          // SSIM without its luminance denominator: the channels are already perceptual.
          const float numM = 1.0f - (mu1 - mu2) * (mu1 - mu2);
          const float numS = 2 * (s12[x] - mu1 * mu2) + kC2;
          const float denS = (s11[x] - mu1 * mu1) + (s22[x] - mu2 * mu2) + kC2;
          const double d = std::max(1.0 - double(numM * numS / denS), 0.0);
          sums[0] += d;
          sums[3] += Quartic(d);
        }
      }
      const double perPixel = 1.0 / (double(w) * h);
      for (int n = 0; n < 3; ++n) {
        norms[s][c][n] = sums[n] * perPixel;
        norms[s][c][n + 3] = std::sqrt(std::sqrt(sums[n + 3] * perPixel));
      }
    }
  }
  // The weights run over the scales actually measured, so a small picture uses fewer.
  double total = 0;
  std::size_t i = 0;
  for (int c = 0; c < 3; ++c)
    for (std::size_t s = 0; s < scales_.size(); ++s)
      for (int n = 0; n < 6; ++n) total += kWeights[i++] * std::abs(norms[s][c][n]);
  total *= 0.9562382616834844;
  total = 2.326765642916932 * total - 0.020884521182843837 * total * total +
          6.248496625763138e-05 * total * total * total;
  return total > 0 ? 100.0 - 10.0 * std::pow(total, 0.6276336467831387) : 100.0;
}

std::optional<double> Ssimulacra2::Compare(const ImageDescriptor& original,
                                           const ImageDescriptor& distorted) {
  return Ssimulacra2(original).Score(distorted);
}
