#include "Ast2500Screen.h"

#include <array>
#include <cstdio>
#include <map>
#include <stdexcept>

#include <png.h>

#include "../../ZubVgaPkg/TextConsolePei/Cp437Font.h"

namespace zub {

std::vector<uint32_t> scanOutScreen(Ast2500& video) {
  std::vector<uint32_t> out(kScreenWidth * kScreenHeight, 0);
  Ast2500ScanOut s = video.scanOut();
  if (s.screenOff || !s.trueColor) return out;
  const uint8_t* vram = video.videoMemory();
  unsigned w = std::min(s.width, kScreenWidth), h = std::min(s.height, kScreenHeight);
  for (unsigned y = 0; y < h; ++y)
    for (unsigned x = 0; x < w; ++x) {
      uint64_t at = uint64_t(s.startAddress) + uint64_t(y) * s.pitchBytes + uint64_t(x) * 4;
      if (at + 4 > video.videoMemorySize()) continue;
      const uint8_t* p = vram + at;
      out[y * kScreenWidth + x] = (uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0]);
    }
  return out;
}

void writeScreenPng(const std::filesystem::path& path, const std::vector<uint32_t>& pixels) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) throw std::runtime_error("cannot write " + path.string());
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    std::fclose(f);
    throw std::runtime_error("cannot encode " + path.string());
  }
  png_init_io(png, f);
  png_set_IHDR(png, info, kScreenWidth, kScreenHeight, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  std::vector<uint8_t> row(kScreenWidth * 3);
  for (unsigned y = 0; y < kScreenHeight; ++y) {
    for (unsigned x = 0; x < kScreenWidth; ++x) {
      uint32_t c = pixels[y * kScreenWidth + x];
      row[x * 3] = uint8_t(c >> 16), row[x * 3 + 1] = uint8_t(c >> 8), row[x * 3 + 2] = uint8_t(c);
    }
    png_write_row(png, row.data());
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  std::fclose(f);
}

namespace {
using Glyph = std::array<uint8_t, 16>;

const std::map<Glyph, uint8_t>& glyphCodes() {
  static const std::map<Glyph, uint8_t> codes = [] {
    std::map<Glyph, uint8_t> m;
    // Printable ASCII first, so that a shape shared with another code reads as ASCII.
    auto add = [&](unsigned c) {
      Glyph g;
      for (unsigned i = 0; i < 16; ++i) g[i] = gCp437Font8x16[c * 16 + i];
      m.emplace(g, uint8_t(c));
    };
    for (unsigned c = 0x20; c < 0x7F; ++c) add(c);
    for (unsigned c = 0; c < 256; ++c) add(c);
    return m;
  }();
  return codes;
}

struct Cell {
  char ch = ' ';
  uint32_t fg = 0xFFFFFF;
};

Cell readCell(const std::vector<uint32_t>& px, unsigned col, unsigned row) {
  uint32_t a = px[row * 16 * kScreenWidth + col * 8], b = a;
  for (unsigned i = 0; i < 16; ++i)
    for (unsigned j = 0; j < 8; ++j) {
      uint32_t c = px[(row * 16 + i) * kScreenWidth + col * 8 + j];
      if (c != a) {
        if (b != a && c != b) return {'?', 0xFFFFFF};
        b = c;
      }
    }
  if (a == b) return {};
  for (uint32_t fg : {a, b}) {
    Glyph g{};
    for (unsigned i = 0; i < 16; ++i)
      for (unsigned j = 0; j < 8; ++j)
        if (px[(row * 16 + i) * kScreenWidth + col * 8 + j] == fg) g[i] |= uint8_t(0x80 >> j);
    auto it = glyphCodes().find(g);
    if (it != glyphCodes().end()) {
      uint8_t code = it->second;
      return {code >= 0x20 && code < 0x7F ? char(code) : '?', fg};
    }
  }
  return {'?', 0xFFFFFF};
}
}  // namespace

std::string readScreenText(const std::vector<uint32_t>& pixels) {
  std::string text, colours;
  for (unsigned row = 0; row < 37; ++row) {
    std::string line;
    unsigned runStart = 0;
    uint32_t runColour = 0xFFFFFF;
    auto closeRun = [&](unsigned end) {
      if (runColour != 0xFFFFFF) {
        char buf[80];
        std::snprintf(buf, sizeof buf, "row %u col %u-%u color 0x%06X\n", row, runStart, end - 1, runColour);
        colours += buf;
      }
    };
    for (unsigned col = 0; col < 100; ++col) {
      Cell c = readCell(pixels, col, row);
      uint32_t colour = c.ch == ' ' ? 0xFFFFFF : c.fg;
      if (colour != runColour) {
        closeRun(col);
        runStart = col, runColour = colour;
      }
      line += c.ch;
    }
    closeRun(100);
    line.erase(line.find_last_not_of(' ') + 1);
    text += line + "\n";
  }
  return text + "\n" + colours;
}

}  // namespace zub
