#include "engine/TrellisQuantiser.h"

#include <algorithm>
#include <cmath>

namespace {

// Zigzag position i -> natural index.
constexpr int kZigzag[64] = {0,  1,  8,  16, 9,  2,  3,  10, 17, 24, 32, 25, 18, 11, 4,  5,
                             12, 19, 26, 33, 40, 48, 41, 34, 27, 20, 13, 6,  7,  14, 21, 28,
                             35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23, 30, 37, 44, 51,
                             58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63};
constexpr int kEob = 0x00, kZrl = 0xF0;
constexpr int kMaxAc = 1023;

int SizeOf(int v) {
  int n = 0;
  for (v = std::abs(v); v; v >>= 1) ++n;
  return n;
}

}  // namespace

void TrellisQuantiser::Round(const Coefficients& c, const Steps& q, Block& out) {
  for (int k = 0; k < 64; ++k) {
    const long v = std::lround(c[std::size_t(k)] / q[std::size_t(k)]);
    out[std::size_t(k)] =
        std::int16_t(std::clamp(v, long(k ? -kMaxAc : -2047), long(k ? kMaxAc : 2047)));
  }
}

void TrellisQuantiser::Count(const Block& block) {
  int run = 0;
  for (int i = 1; i < 64; ++i) {
    const int v = block[std::size_t(kZigzag[i])];
    if (v == 0) {
      ++run;
      continue;
    }
    for (; run > 15; run -= 16) ++counts_[kZrl];
    ++counts_[std::size_t(run << 4 | SizeOf(v))];
    run = 0;
  }
  if (run) ++counts_[kEob];
}

void TrellisQuantiser::Prepare() {
  double total = 0;
  for (std::uint32_t n : counts_) total += n;
  // An unseen symbol is rare but possible: priced as if met half a time.
  for (std::size_t s = 0; s < 256; ++s) {
    const double p = (counts_[s] + 0.5) / (total + 128.0);
    bits_[s] = float(std::min(16.0, std::max(1.0, -std::log2(p))));
  }
}

void TrellisQuantiser::Quantise(const Coefficients& c, const Steps& q, double lambda,
                                Block& out) const {
  Round(c, q, out);
  // Positions that may hold a nonzero value; the rest are zero whatever is chosen.
  int active[64];
  int count = 0;
  float a[64];          // magnitude in steps, zigzag order
  double zeroCost[64];  // distortion of a zero at each position, summed from 1
  zeroCost[0] = 0;
  for (int i = 1; i < 64; ++i) {
    a[i] = std::fabs(c[std::size_t(kZigzag[i])]) / q[std::size_t(kZigzag[i])];
    zeroCost[i] = zeroCost[i - 1] + double(a[i]) * a[i] / lambda;
    if (out[std::size_t(kZigzag[i])] != 0) active[count++] = i;
  }
  if (count == 0) return;
  // best[n][c]: least cost of positions 1..active[n] with candidate c there, nonzero; the
  // rate of the next symbol depends only on where the last nonzero was, not on its value,
  // so each position keeps the better of its two candidates for its successors.
  struct State {
    double cost;
    int value;
    int from;  // index into active of the previous nonzero, -1 for the start
  };
  State best[64][2];
  double settled[64];  // least cost with a nonzero at active[n], less the zeros before it
  int better[64];
  double end = zeroCost[63] + bits_[kEob];  // everything zero
  int endAt = -1, endCandidate = 0;
  for (int n = 0; n < count; ++n) {
    const int i = active[n];
    const int rounded = std::min(int(std::lround(a[i])), kMaxAc);
    settled[n] = 1e300;
    for (int cand = 0; cand < 2; ++cand) {
      State& s = best[n][cand];
      s = {1e300, rounded - cand, -1};
      if (s.value == 0) continue;
      const double err = double(a[i]) - s.value;
      const int size = SizeOf(s.value);
      const double own = err * err / lambda + size + zeroCost[i - 1];
      for (int m = -1; m < n; ++m) {
        const int j = m < 0 ? 0 : active[m];
        const double before = m < 0 ? 0.0 : settled[m];
        const int run = i - j - 1;
        const double total =
            before + (run >> 4) * bits_[kZrl] + bits_[std::size_t((run & 15) << 4 | size)];
        if (total < s.cost) s.cost = total, s.from = m;
      }
      s.cost += own;
      if (s.cost - zeroCost[i] < settled[n]) settled[n] = s.cost - zeroCost[i], better[n] = cand;
      const double finish = s.cost + zeroCost[63] - zeroCost[i] + (i < 63 ? bits_[kEob] : 0.0);
      if (finish < end) end = finish, endAt = n, endCandidate = cand;
    }
  }
  for (int i = 1; i < 64; ++i) out[std::size_t(kZigzag[i])] = 0;
  for (int n = endAt, cand = endCandidate; n >= 0;) {
    const State& s = best[n][cand];
    const int k = kZigzag[active[n]];
    out[std::size_t(k)] = std::int16_t(c[std::size_t(k)] < 0 ? -s.value : s.value);
    n = s.from;
    if (n >= 0) cand = better[n];
  }
}
