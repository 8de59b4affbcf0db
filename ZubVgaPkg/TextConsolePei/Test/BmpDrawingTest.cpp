// DrawBmp against ImageMagick: every fixture BMP was written by ImageMagick, and its
// .rgb twin is ImageMagick's own decoding of it (8-bit RGB, top row first).
#include <gtest/gtest.h>

#include <cstring>

#include "ConsoleBoard.h"

namespace zub::vgatest {
namespace {

constexpr uint32_t kUntouched = 0xA5A5A5A5;

struct Fixture {
  std::vector<uint8_t> bmp, rgb;
  unsigned width, height;
};

Fixture load(const std::string& name, unsigned width, unsigned height) {
  auto dir = std::filesystem::path(ZUB_VGA_TEST_IMAGES);
  Fixture f{readFile(dir / (name + ".bmp")), readFile(dir / (name + ".rgb")), width, height};
  EXPECT_EQ(f.rgb.size(), size_t(width) * height * 3) << name;
  return f;
}

uint32_t expected(const Fixture& f, unsigned x, unsigned y) {
  const uint8_t* p = &f.rgb[(size_t(y) * f.width + x) * 3];
  return uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2];
}

// The image at (ox, oy), clipped to the screen; every other pixel untouched.
void expectImageAt(ConsoleBoard& b, const Fixture& f, long ox, long oy) {
  for (long y = 0; y < 600; ++y)
    for (long x = 0; x < 800; ++x) {
      bool inside = x >= ox && y >= oy && x < ox + long(f.width) && y < oy + long(f.height);
      uint32_t want = inside ? expected(f, unsigned(x - ox), unsigned(y - oy)) : kUntouched;
      ASSERT_EQ(b.pixel(unsigned(x), unsigned(y)), want) << "at " << x << "," << y;
    }
  for (size_t i = kFrameBytes / 4; i < kFrameBytes / 4 + 1024; ++i) ASSERT_EQ(b.pixels()[i], kUntouched);
}

EFI_STATUS draw(ConsoleBoard& b, UINTN x, UINTN y, bool centered, const std::vector<uint8_t>& bmp) {
  auto* d = b.display();
  return d->DrawBmp(d, x, y, centered ? TRUE : FALSE, bmp.data());
}

void put32(std::vector<uint8_t>& v, size_t at, uint32_t value) { std::memcpy(&v[at], &value, 4); }
void put16(std::vector<uint8_t>& v, size_t at, uint16_t value) { std::memcpy(&v[at], &value, 2); }
uint32_t get32(const std::vector<uint8_t>& v, size_t at) {
  uint32_t value;
  std::memcpy(&value, &v[at], 4);
  return value;
}

struct PlacedCase {
  const char* name;
  unsigned width, height;
  UINTN x, y;
  bool centered;
  long ox, oy;
};

TEST(DrawBmp, ImagesMatchImageMagickPixelForPixel) {
  const PlacedCase cases[] = {
      {"TrueColor30x20", 30, 20, 10, 5, false, 10, 5},          // 24 bits, padded rows
      {"Rle40x24", 40, 24, 100, 50, false, 100, 50},             // run-length with end-of-line pairs
      {"Centered160x120", 160, 120, 700, 500, true, 320, 240},   // X and Y ignored when centred
      {"TrueColor30x20", 30, 20, 785, 590, false, 785, 590},     // clipped at the right and bottom
      {"Rle40x24", 40, 24, 780, 0, false, 780, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ConsoleBoard b;
    b.display();
    b.fill(kUntouched);
    Fixture f = load(c.name, c.width, c.height);
    ASSERT_EQ(draw(b, c.x, c.y, c.centered, f.bmp), EFI_SUCCESS);
    expectImageAt(b, f, c.ox, c.oy);
  }
}

// The stream without its end-of-line pairs: (0, 0) pairs that stand where a row begins.
std::vector<uint8_t> withoutEndOfLinePairs(const std::vector<uint8_t>& bmp) {
  uint32_t offset = get32(bmp, 10);
  std::vector<uint8_t> out(bmp.begin(), bmp.begin() + offset);
  for (size_t i = offset; i + 1 < bmp.size(); i += 2)
    if (!(bmp[i] == 0 && bmp[i + 1] == 0)) out.insert(out.end(), {bmp[i], bmp[i + 1]});
  put32(out, 2, uint32_t(out.size()));
  return out;
}

TEST(DrawBmp, EndOfLinePairsDrawNothingOfTheirOwn) {
  Fixture f = load("Rle40x24", 40, 24);
  auto stripped = withoutEndOfLinePairs(f.bmp);
  ASSERT_LT(stripped.size(), f.bmp.size());
  ConsoleBoard b;
  b.display();
  b.fill(kUntouched);
  ASSERT_EQ(draw(b, 3, 4, false, stripped), EFI_SUCCESS);
  expectImageAt(b, f, 3, 4);
}

TEST(DrawBmp, CutRunsAndZeroSizeImages) {
  // 4x2, palette of 2: one run of 6 covers the whole bottom row and is cut there.
  std::vector<uint8_t> bmp(54 + 8 + 4, 0);
  bmp[0] = 'B', bmp[1] = 'M';
  put32(bmp, 2, uint32_t(bmp.size()));
  put32(bmp, 10, 62);
  put32(bmp, 14, 40);
  put32(bmp, 18, 4);
  put32(bmp, 22, 2);
  put16(bmp, 28, 8);
  put32(bmp, 46, 2);
  put32(bmp, 54, 0x00112233);
  put32(bmp, 58, 0x00445566);
  bmp[62] = 6, bmp[63] = 1, bmp[64] = 4, bmp[65] = 0;
  ConsoleBoard b;
  b.display();
  b.fill(kUntouched);
  ASSERT_EQ(draw(b, 0, 0, false, bmp), EFI_SUCCESS);
  for (unsigned x = 0; x < 4; ++x) {
    EXPECT_EQ(b.pixel(x, 1), 0x00445566u) << x;
    EXPECT_EQ(b.pixel(x, 0), 0x00112233u) << x;
  }
  EXPECT_EQ(b.pixel(4, 0), kUntouched);
  put32(bmp, 18, 0);
  b.fill(kUntouched);
  EXPECT_EQ(draw(b, 0, 0, false, bmp), EFI_SUCCESS);
  EXPECT_EQ(b.pixel(0, 0), kUntouched);
}

struct HeaderCase {
  const char* what;
  const char* fixture;
  size_t offset;
  int width;   // 2 or 4 bytes
  uint32_t value;
  UINTN x, y;
  EFI_STATUS status;
};

TEST(DrawBmp, HeadersAreCheckedBeforeAnythingIsDrawn) {
  const HeaderCase cases[] = {
      {"signature MB", "TrueColor30x20", 0, 2, 'M' | ('B' << 8), 0, 0, EFI_INVALID_PARAMETER},
      {"16 bits per pixel", "TrueColor30x20", 28, 2, 16, 0, 0, EFI_UNSUPPORTED},
      {"32 bits per pixel", "TrueColor30x20", 28, 2, 32, 0, 0, EFI_UNSUPPORTED},
      {"X off the screen", "TrueColor30x20", 0, 0, 0, 800, 0, EFI_OUT_OF_RESOURCES},
      {"Y off the screen", "TrueColor30x20", 0, 0, 0, 0, 600, EFI_OUT_OF_RESOURCES},
      {"file size below the header", "TrueColor30x20", 2, 4, 40, 0, 0, EFI_INVALID_PARAMETER},
      {"24-bit rows beyond the file", "TrueColor30x20", 2, 4, 1893, 0, 0, EFI_INVALID_PARAMETER},
      {"data offset beyond the file", "TrueColor30x20", 10, 4, 5000, 0, 0, EFI_INVALID_PARAMETER},
      {"top-down height", "TrueColor30x20", 22, 4, uint32_t(-20), 0, 0, EFI_INVALID_PARAMETER},
      {"run-length stream beyond the file", "Rle40x24", 2, 4, 1400, 0, 0, EFI_INVALID_PARAMETER},
      {"palette beyond the file", "Rle40x24", 2, 4, 1000, 0, 0, EFI_INVALID_PARAMETER},
      {"more than 256 palette entries", "Rle40x24", 46, 4, 257, 0, 0, EFI_INVALID_PARAMETER},
      {"index beyond a palette of 8", "Rle40x24", 46, 4, 8, 0, 0, EFI_INVALID_PARAMETER},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    auto bmp = readFile(std::filesystem::path(ZUB_VGA_TEST_IMAGES) / (std::string(c.fixture) + ".bmp"));
    if (c.width == 2) put16(bmp, c.offset, uint16_t(c.value));
    if (c.width == 4) put32(bmp, c.offset, c.value);
    ConsoleBoard b;
    b.display();
    b.fill(kUntouched);
    EXPECT_EQ(draw(b, c.x, c.y, false, bmp), c.status);
    for (size_t i = 0; i < kFrameBytes / 4; ++i) ASSERT_EQ(b.pixels()[i], kUntouched);
  }
}

TEST(DrawBmp, EscapesOtherThanEndOfLineAreRefused) {
  Fixture f = load("Rle40x24", 40, 24);
  auto bmp = f.bmp;
  uint32_t offset = get32(bmp, 10);
  // The first end-of-line pair followed by an end-of-bitmap escape instead of a run.
  size_t eol = offset;
  while (!(bmp[eol] == 0 && bmp[eol + 1] == 0)) eol += 2;
  bmp[eol + 2] = 0, bmp[eol + 3] = 1;
  ConsoleBoard b;
  b.display();
  b.fill(kUntouched);
  EXPECT_EQ(draw(b, 0, 0, false, bmp), EFI_INVALID_PARAMETER);
  for (size_t i = 0; i < kFrameBytes / 4; ++i) ASSERT_EQ(b.pixels()[i], kUntouched);
}

}  // namespace
}  // namespace zub::vgatest
