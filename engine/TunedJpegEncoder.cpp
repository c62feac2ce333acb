#include "engine/TunedJpegEncoder.h"

#include <algorithm>
#include <cmath>

#include "engine/CoefficientWriter.h"
#include "engine/PerceptualTables.h"
#include "engine/TrellisQuantiser.h"

namespace {

using Coefficients = TrellisQuantiser::Coefficients;

// Bits one squared quantisation step of error is worth; scaled per block by its masking.
constexpr double kLambda = 0.12;
// Variance (in 8-bit levels squared) at which a quarter of a block counts as half busy.
constexpr double kBusy = 30.0;

struct Basis {
  float m[8][8];
  Basis() {
    for (int u = 0; u < 8; ++u)
      for (int x = 0; x < 8; ++x)
        m[u][x] = float((u ? 0.5 : 0.5 / std::sqrt(2.0)) * std::cos((2 * x + 1) * u * M_PI / 16));
  }
};

// JPEG's forward DCT (orthonormal, as libjpeg's before its factor of 8).
void Transform(const float in[64], Coefficients& out) {
  static const Basis basis;
  float rows[64];
  for (int y = 0; y < 8; ++y)
    for (int u = 0; u < 8; ++u) {
      float s = 0;
      for (int x = 0; x < 8; ++x) s += basis.m[u][x] * in[y * 8 + x];
      rows[y * 8 + u] = s;
    }
  for (int v = 0; v < 8; ++v)
    for (int u = 0; u < 8; ++u) {
      float s = 0;
      for (int y = 0; y < 8; ++y) s += basis.m[v][y] * rows[y * 8 + u];
      out[std::size_t(v * 8 + u)] = s;
    }
}

// One component: its plane seen through its sampling (fx, fy pixels per sample, averaged)
// and its blocks, the picture's edge repeated past its end as libjpeg does.
struct Plane {
  const std::uint8_t* pixels;
  int width, height, fx, fy;

  int SampledWidth() const { return (width + fx - 1) / fx; }
  int SampledHeight() const { return (height + fy - 1) / fy; }
  void Block(int bx, int by, float out[64]) const {
    int columns[16];
    const int lastX = SampledWidth() - 1, lastY = SampledHeight() - 1;
    for (int x = 0; x < 8; ++x)
      for (int dx = 0; dx < fx; ++dx)
        columns[x * fx + dx] = std::min(std::min(bx * 8 + x, lastX) * fx + dx, width - 1);
    const float scale = 1.0f / float(fx * fy);
    for (int y = 0; y < 8; ++y) {
      float* row = out + y * 8;
      std::fill(row, row + 8, -128.0f);
      for (int dy = 0; dy < fy; ++dy) {
        const int py = std::min(std::min(by * 8 + y, lastY) * fy + dy, height - 1);
        const std::uint8_t* line = pixels + std::size_t(py) * std::size_t(width);
        for (int x = 0; x < 8; ++x)
          for (int dx = 0; dx < fx; ++dx) row[x] += line[columns[x * fx + dx]] * scale;
      }
    }
  }
};

// Busy texture masks error; a flat quarter (flat area, or the calm side of an edge) does
// not, so the calmest quarter of the block decides.
double Masking(const float s[64]) {
  double calmest = 1e9;
  for (int q = 0; q < 4; ++q) {
    double sum = 0, squares = 0;
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 4; ++x) {
        const double v = s[(q / 2 * 4 + y) * 8 + q % 2 * 4 + x];
        sum += v, squares += v * v;
      }
    calmest = std::min(calmest, squares / 16 - (sum / 16) * (sum / 16));
  }
  return 0.5 + 1.5 * calmest / (calmest + kBusy);
}

// Every block rounded, or, with the trellis, a first pass over a sample of the blocks for
// the symbol statistics and then the trellis over all.
void Quantise(const Plane& plane, const TrellisQuantiser::Steps& steps, bool trellis, bool luma,
              CoefficientWriter::Component& c) {
  c.blocks.resize(std::size_t(c.blocksWide) * std::size_t(c.blocksHigh));
  TrellisQuantiser quantiser;
  float samples[64];
  Coefficients coefficients;
  TrellisQuantiser::Block counted;
  if (trellis) {
    for (int by = 0; by < c.blocksHigh; by += 2)
      for (int bx = by % 4; bx < c.blocksWide; bx += 4) {
        plane.Block(bx, by, samples);
        Transform(samples, coefficients);
        TrellisQuantiser::Round(coefficients, steps, counted);
        quantiser.Count(counted);
      }
    quantiser.Prepare();
  }
  for (int by = 0; by < c.blocksHigh; ++by)
    for (int bx = 0; bx < c.blocksWide; ++bx) {
      auto& block = c.blocks[std::size_t(by) * std::size_t(c.blocksWide) + std::size_t(bx)];
      plane.Block(bx, by, samples);
      Transform(samples, coefficients);
      if (trellis)
        quantiser.Quantise(coefficients, steps, kLambda * (luma ? Masking(samples) : 1.0), block);
      else
        TrellisQuantiser::Round(coefficients, steps, block);
    }
}

}  // namespace

TunedJpegEncoder::TunedJpegEncoder(int width, int height, const JpegCodec::Settings& settings,
                                   bool grey)
    : width_(width), height_(height), settings_(settings), grey_(grey) {
  const std::size_t n = std::size_t(width) * std::size_t(height);
  y_.resize(n);
  if (!grey) cb_.resize(n), cr_.resize(n);
}

bool TunedJpegEncoder::Add(const std::uint8_t* const* rows, int count) {
  if (count > height_ - rows_) return false;
  for (int i = 0; i < count; ++i, ++rows_) {
    const std::uint8_t* p = rows[i];
    const std::size_t at = std::size_t(rows_) * std::size_t(width_);
    for (int x = 0; x < width_; ++x, p += 3) {
      if (grey_) {
        y_[at + std::size_t(x)] = p[0];
        continue;
      }
      const float r = p[0], g = p[1], b = p[2];
      // libjpeg's conversion, rounded as it rounds.
      y_[at + std::size_t(x)] = std::uint8_t(0.299f * r + 0.587f * g + 0.114f * b + 0.5f);
      cb_[at + std::size_t(x)] =
          std::uint8_t(std::clamp(-0.168736f * r - 0.331264f * g + 0.5f * b + 128.5f, 0.f, 255.f));
      cr_[at + std::size_t(x)] =
          std::uint8_t(std::clamp(0.5f * r - 0.418688f * g - 0.081312f * b + 128.5f, 0.f, 255.f));
    }
  }
  return true;
}

bool TunedJpegEncoder::Finish(QByteArray& out) const {
  if (!Complete()) return false;
  const int quality = std::clamp(settings_.quality, 1, 100);
  ChromaChoice::Layout layout = ChromaChoice::Layout::k444;
  if (!grey_)
    layout = settings_.chroma
                 ? *settings_.chroma
                 : ChromaChoice::Pick(cb_.data(), cr_.data(), width_, height_, quality);
  const int lumaH = layout == ChromaChoice::Layout::k444 ? 1 : 2;
  const int lumaV = layout == ChromaChoice::Layout::k420 ? 2 : 1;
  std::vector<CoefficientWriter::Table> tables{PerceptualTables::Luma(quality)};
  if (!grey_) tables.push_back(PerceptualTables::Chroma(quality, lumaH > 1));

  std::vector<CoefficientWriter::Component> components(grey_ ? 1 : 3);
  const std::uint8_t* planes[3] = {y_.data(), cb_.data(), cr_.data()};
  for (std::size_t c = 0; c < components.size(); ++c) {
    auto& component = components[c];
    const bool luma = c == 0;
    component.h = luma ? lumaH : 1;
    component.v = luma ? lumaV : 1;
    component.table = luma ? 0 : 1;
    const Plane plane{planes[c], width_, height_, luma ? 1 : lumaH, luma ? 1 : lumaV};
    component.blocksWide = CoefficientWriter::BlocksWide(width_, component.h, lumaH);
    component.blocksHigh = CoefficientWriter::BlocksWide(height_, component.v, lumaV);
    Quantise(plane, tables[std::size_t(component.table)], settings_.trellis, luma, component);
  }
  const PictureMetadata* metadata = settings_.metadata;
  return CoefficientWriter(width_, height_)
      .Write(components, tables, settings_.progressive, metadata, out);
}
