#include "LogoImages.h"

#include <algorithm>

#include "Bmc/Bmc.h"
#include "../../ZubVgaPkg/TextConsolePei/Cp437Font.h"

namespace zub {

namespace {
void put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = uint8_t(v >> (8 * i));
}
}  // namespace

std::vector<uint8_t> bmp24(unsigned width, unsigned height, const std::function<uint32_t(unsigned, unsigned)>& pixel) {
  const size_t stride = (size_t(width) * 3 + 3) & ~size_t(3);
  const size_t header = 54, size = header + stride * height;
  std::vector<uint8_t> b(size, 0);
  b[0] = 'B', b[1] = 'M';
  put32(b, 2, uint32_t(size));
  put32(b, 10, uint32_t(header));
  put32(b, 14, 40);
  put32(b, 18, width);
  put32(b, 22, height);
  b[26] = 1, b[28] = 24;
  put32(b, 34, uint32_t(stride * height));
  for (unsigned y = 0; y < height; ++y) {
    uint8_t* row = b.data() + header + stride * (height - 1 - y);
    for (unsigned x = 0; x < width; ++x) {
      uint32_t c = pixel(x, y);
      row[3 * x] = uint8_t(c), row[3 * x + 1] = uint8_t(c >> 8), row[3 * x + 2] = uint8_t(c >> 16);
    }
  }
  return b;
}

std::vector<uint8_t> textLogo(const std::string& text, uint32_t background, uint32_t foreground, unsigned scale) {
  const unsigned margin = 4 * scale, frame = scale;
  const unsigned width = unsigned(text.size()) * 8 * scale + 2 * margin, height = 16 * scale + 2 * margin;
  return bmp24(width, height, [&](unsigned x, unsigned y) -> uint32_t {
    if (x < frame || y < frame || x >= width - frame || y >= height - frame) return foreground;
    if (x < margin || y < margin || x >= width - margin || y >= height - margin) return background;
    unsigned cx = (x - margin) / scale, cy = (y - margin) / scale;
    uint8_t glyph = uint8_t(text[cx / 8]);
    bool on = gCp437Font8x16[glyph * CP437_GLYPH_BYTES + cy] & (0x80 >> (cx % 8));
    return on ? foreground : background;
  });
}

const std::vector<std::string>& customerLogoNames() {
  static const std::vector<std::string> names = {"bios_logo_early.bmp", "bios_logo_post.bmp", "bios_logo_quiet.bmp"};
  return names;
}

void addCustomerLogos(BmcConfig& bmc) {
  const char* texts[] = {"CUSTOMER", "CUSTOMER POST", "CUSTOMER QUIET"};
  for (size_t i = 0; i < customerLogoNames().size(); ++i) {
    const std::string& name = customerLogoNames()[i];
    bool given = std::any_of(bmc.files.begin(), bmc.files.end(), [&](const auto& f) { return f.first == name; });
    if (!given) bmc.files.emplace_back(name, textLogo(texts[i], 0x00603000, 0x00FFB040, 3));
  }
}

}  // namespace zub
