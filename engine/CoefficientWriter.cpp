#include "engine/CoefficientWriter.h"

#include <algorithm>
#include <cstring>

#include "engine/JpegDestination.h"
#include "engine/JpegErrorManager.h"

namespace {

constexpr int kBaseline = 0;
constexpr int kScripts = 3;  // progressive candidates 1..3

// Progressive candidates: libjpeg's own (successive approximation), then two spectral-only
// scripts that split luma at a low or a middle frequency. Which is smallest depends on the
// picture: a few percent either way.
std::vector<jpeg_scan_info> Script(int script, int components) {
  const bool colour = components == 3;
  std::vector<jpeg_scan_info> s;
  const auto scan = [&s](std::initializer_list<int> ids, int ss, int se) {
    jpeg_scan_info i{};
    i.comps_in_scan = int(ids.size());
    int n = 0;
    for (int id : ids) i.component_index[n++] = id;
    i.Ss = ss, i.Se = se;
    s.push_back(i);
  };
  if (colour)
    scan({0, 1, 2}, 0, 0);
  else
    scan({0}, 0, 0);
  const int split = script == 2 ? 5 : 2;
  scan({0}, 1, split);
  if (colour) scan({1}, 1, 63), scan({2}, 1, 63);
  scan({0}, split + 1, 63);
  return s;
}

}  // namespace

bool CoefficientWriter::Write(const std::vector<Component>& components,
                              const std::vector<Table>& tables, bool progressive,
                              const PictureMetadata* metadata, QByteArray& out) const {
  if (!progressive) return WriteScript(components, tables, kBaseline, metadata, out);
  QByteArray best;
  for (int script = 1; script <= kScripts; ++script) {
    QByteArray bytes;
    if (WriteScript(components, tables, script, metadata, bytes) &&
        (best.isEmpty() || bytes.size() < best.size()))
      best = std::move(bytes);
  }
  if (best.isEmpty()) return false;
  out = std::move(best);
  return true;
}

bool CoefficientWriter::WriteScript(const std::vector<Component>& components,
                                    const std::vector<Table>& tables, int script,
                                    const PictureMetadata* metadata, QByteArray& out) const {
  jpeg_compress_struct cinfo{};
  JpegErrorManager errors{};
  errors.Install(reinterpret_cast<jpeg_common_struct*>(&cinfo));
  QByteArray bytes;
  std::vector<jpeg_scan_info> scans;
  if (setjmp(errors.jump)) {
    jpeg_destroy_compress(&cinfo);
    return false;
  }
  jpeg_create_compress(&cinfo);
  bytes.resize(64 * 1024);
  JpegDestination dest{};
  dest.Attach(cinfo, bytes);
  const bool colour = components.size() == 3;
  cinfo.image_width = JDIMENSION(width_);
  cinfo.image_height = JDIMENSION(height_);
  cinfo.input_components = colour ? 3 : 1;
  cinfo.in_color_space = colour ? JCS_RGB : JCS_GRAYSCALE;
  jpeg_set_defaults(&cinfo);
  cinfo.optimize_coding = TRUE;
  for (std::size_t t = 0; t < tables.size(); ++t) {
    unsigned int basic[DCTSIZE2];
    for (int k = 0; k < DCTSIZE2; ++k) basic[k] = tables[t][std::size_t(k)];
    jpeg_add_quant_table(&cinfo, int(t), basic, 100, TRUE);
  }
  jvirt_barray_ptr arrays[3] = {};
  for (int c = 0; c < cinfo.num_components; ++c) {
    const Component& from = components[std::size_t(c)];
    jpeg_component_info& info = cinfo.comp_info[c];
    info.h_samp_factor = from.h;
    info.v_samp_factor = from.v;
    info.quant_tbl_no = from.table;
    const auto up = [](int n, int m) { return JDIMENSION((n + m - 1) / m * m); };
    arrays[c] = cinfo.mem->request_virt_barray(reinterpret_cast<j_common_ptr>(&cinfo), JPOOL_IMAGE,
                                               TRUE, up(from.blocksWide, from.h),
                                               up(from.blocksHigh, from.v), JDIMENSION(from.v));
  }
  if (script != kBaseline) {
    scans = Script(script, cinfo.num_components);
    if (script == 1)
      jpeg_simple_progression(&cinfo);
    else
      cinfo.scan_info = scans.data(), cinfo.num_scans = int(scans.size());
  }
  jpeg_write_coefficients(&cinfo, arrays);
  for (int c = 0; c < cinfo.num_components; ++c) {
    const Component& from = components[std::size_t(c)];
    for (int row = 0; row < from.blocksHigh; ++row) {
      JBLOCKARRAY line = cinfo.mem->access_virt_barray(reinterpret_cast<j_common_ptr>(&cinfo),
                                                       arrays[c], JDIMENSION(row), 1, TRUE);
      const Block* first = from.blocks.data() + std::size_t(row) * std::size_t(from.blocksWide);
      for (int x = 0; x < from.blocksWide; ++x)
        std::memcpy(line[0][x], first[x].data(), sizeof(JBLOCK));
    }
  }
  WriteJpegMetadata(cinfo, metadata);
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  out = std::move(bytes);
  return true;
}
