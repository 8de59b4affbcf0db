// TextConsolePei's text and lines, drawn by the real image into the board's memory.
#include <gtest/gtest.h>

#include "ConsoleBoard.h"

namespace zub::vgatest {
namespace {

constexpr uint32_t kFg = 0xFFFF0000, kBg = 0x00123456, kUntouched = 0xA5A5A5A5;

// IBM VGA 8x16 glyphs, code page 437, as published for the VGA ROM font.
constexpr uint8_t kGlyphA[16] = {0x00, 0x00, 0x10, 0x38, 0x6C, 0xC6, 0xC6, 0xFE,
                                 0xC6, 0xC6, 0xC6, 0xC6, 0x00, 0x00, 0x00, 0x00};
constexpr uint8_t kGlyphInverseCircle[16] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xC3, 0x99, 0xBD,
                                             0xBD, 0x99, 0xC3, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};

// Compares the cell whose top-left pixel is (x0, y0) with a glyph, `rows` pixel rows of it.
void expectCell(ConsoleBoard& b, unsigned x0, unsigned y0, const uint8_t* glyph, unsigned rows = 16) {
  for (unsigned i = 0; i < rows; ++i)
    for (unsigned j = 0; j < 8; ++j)
      ASSERT_EQ(b.pixel(x0 + j, y0 + i), (glyph[i] >> (7 - j)) & 1 ? kFg : kBg) << "row " << i << " px " << j;
}

bool beyondFrameUntouched(ConsoleBoard& b) {
  for (size_t i = kFrameBytes / 4; i < kFrameBytes / 4 + 4096; ++i)
    if (b.pixels()[i] != kUntouched) return false;
  return true;
}

TEST(TextConsolePei, EntryInstallsThePpiAndClearsTheWarningFlag) {
  ConsoleBoard b;
  b.boot->platform().pcd.setNumber(PcdZubVgaWarningShown_TOKEN, 1);
  ASSERT_NE(b.display(), nullptr);
  EXPECT_EQ(b.boot->platform().pcd.number(PcdZubVgaWarningShown_TOKEN), 0u);
  EXPECT_NE(b.boot->platform().debug.log().find("TextConsolePeiEntryPoint ---start\n"), std::string::npos);
}

TEST(TextConsolePei, EmptyStringSucceedsAndChangesNoPixel) {
  ConsoleBoard b;
  auto* d = b.display();
  b.fill(kUntouched);
  EXPECT_EQ(d->DrawString(d, 10, 10, kFg, kBg, ""), EFI_SUCCESS);
  for (size_t i = 0; i < kFrameBytes / 4; ++i) ASSERT_EQ(b.pixels()[i], kUntouched);
}

TEST(TextConsolePei, BottomRightCellIsTheLastFullCell) {
  ConsoleBoard b;
  auto* d = b.display();
  b.fill(kUntouched);
  ASSERT_EQ(d->DrawString(d, 99, 36, kFg, kBg, "A"), EFI_SUCCESS);
  expectCell(b, 792, 576, kGlyphA);
  EXPECT_EQ(b.pixel(791, 576), kUntouched);
  EXPECT_EQ(b.pixel(792, 575), kUntouched);
  EXPECT_EQ(b.pixel(792, 592), kUntouched);
}

TEST(TextConsolePei, ControlBytesAreDrawnAsTheirGlyphs) {
  ConsoleBoard b;
  auto* d = b.display();
  ASSERT_EQ(d->DrawString(d, 3, 2, kFg, kBg, "\x0A\xDB" "A"), EFI_SUCCESS);
  expectCell(b, 24, 32, kGlyphInverseCircle);
  uint8_t full[16];
  std::fill_n(full, 16, 0xFF);
  expectCell(b, 32, 32, full);
  expectCell(b, 40, 32, kGlyphA);   // the line went on in the same row
}

TEST(TextConsolePei, TextIsClippedToTheScreen) {
  ConsoleBoard b;
  auto* d = b.display();
  b.fill(kUntouched);
  EXPECT_EQ(d->DrawString(d, 98, 0, kFg, kBg, "AAAA"), EFI_SUCCESS);
  expectCell(b, 784, 0, kGlyphA);
  expectCell(b, 792, 0, kGlyphA);
  EXPECT_EQ(b.pixel(0, 1), kUntouched) << "no wrap into the next scan line";
  EXPECT_EQ(d->DrawString(d, 0, 37, kFg, kBg, "A"), EFI_SUCCESS);
  expectCell(b, 0, 592, kGlyphA, 8);
  EXPECT_EQ(d->DrawString(d, 0, 38, kFg, kBg, "A"), EFI_SUCCESS);
  EXPECT_EQ(d->DrawString(d, 100, 0, kFg, kBg, "A"), EFI_SUCCESS);
  EXPECT_EQ(d->DrawString(d, ~UINTN(0), ~UINTN(0), kFg, kBg, "A"), EFI_SUCCESS);
  EXPECT_TRUE(beyondFrameUntouched(b));
}

TEST(TextConsolePei, NullArgumentsAreRefused) {
  ConsoleBoard b;
  auto* d = b.display();
  EXPECT_EQ(d->DrawString(nullptr, 0, 0, kFg, kBg, "A"), EFI_INVALID_PARAMETER);
  EXPECT_EQ(d->DrawString(d, 0, 0, kFg, kBg, nullptr), EFI_INVALID_PARAMETER);
  EXPECT_EQ(d->DrawVerticalLine(nullptr, 0, 0, 1, kFg), EFI_INVALID_PARAMETER);
  EXPECT_EQ(d->DrawHorizontalLine(nullptr, 0, 1, 0, kFg), EFI_INVALID_PARAMETER);
  EXPECT_EQ(d->DrawBmp(nullptr, 0, 0, FALSE, "BM"), EFI_INVALID_PARAMETER);
  EXPECT_EQ(d->DrawBmp(d, 0, 0, FALSE, nullptr), EFI_INVALID_PARAMETER);
}

struct LineCase {
  bool vertical;
  UINTN fixed, start, end;
  EFI_STATUS status;
  unsigned painted;
};

TEST(TextConsolePei, LineBoundsAndHalfOpenRanges) {
  const LineCase cases[] = {
      {true, 10, 5, 5, EFI_SUCCESS, 0},        {true, 10, 6, 5, EFI_INVALID_PARAMETER, 0},
      {true, 10, 0, 600, EFI_OUT_OF_RESOURCES, 0}, {true, 800, 0, 5, EFI_OUT_OF_RESOURCES, 0},
      {true, 799, 0, 599, EFI_SUCCESS, 599},   {true, 10, 800, 5, EFI_INVALID_PARAMETER, 0},
      {false, 599, 0, 799, EFI_SUCCESS, 799},  {false, 600, 0, 5, EFI_OUT_OF_RESOURCES, 0},
      {false, 0, 0, 800, EFI_OUT_OF_RESOURCES, 0}, {false, 3, 7, 2, EFI_INVALID_PARAMETER, 0},
      {false, 3, 7, 7, EFI_SUCCESS, 0},
  };
  for (const auto& c : cases) {
    ConsoleBoard b;
    auto* d = b.display();
    b.fill(kUntouched);
    EFI_STATUS s = c.vertical ? d->DrawVerticalLine(d, c.fixed, c.start, c.end, kFg)
                              : d->DrawHorizontalLine(d, c.start, c.end, c.fixed, kFg);
    SCOPED_TRACE(testing::Message() << (c.vertical ? "vertical " : "horizontal ") << c.fixed << " " << c.start
                                    << ".." << c.end);
    EXPECT_EQ(s, c.status);
    unsigned painted = 0;
    for (unsigned y = 0; y < 600; ++y)
      for (unsigned x = 0; x < 800; ++x) {
        if (b.pixel(x, y) == kUntouched) continue;
        ++painted;
        unsigned along = c.vertical ? y : x, across = c.vertical ? x : y;
        EXPECT_EQ(across, c.fixed);
        EXPECT_TRUE(along >= c.start && along < c.end) << along;
      }
    EXPECT_EQ(painted, c.painted);
  }
}

TEST(TextConsolePei, WithoutAFrameBufferNothingIsDrawn) {
  for (uint64_t base : {uint64_t(0), uint64_t(0xA0000000)}) {
    ConsoleBoard b;
    auto* d = b.display();
    b.fill(kUntouched);
    b.boot->platform().pcd.setNumber(PcdZubVgaMemoryBase_TOKEN, base);
    auto bmp = readFile(std::filesystem::path(ZUB_VGA_TEST_IMAGES) / "TrueColor30x20.bmp");
    EXPECT_EQ(d->DrawString(d, 0, 0, kFg, kBg, "A"), EFI_NOT_READY);
    EXPECT_EQ(d->DrawVerticalLine(d, 0, 0, 10, kFg), EFI_NOT_READY);
    EXPECT_EQ(d->DrawHorizontalLine(d, 0, 10, 0, kFg), EFI_NOT_READY);
    EXPECT_EQ(d->DrawBmp(d, 0, 0, FALSE, bmp.data()), EFI_NOT_READY);
    for (size_t i = 0; i < kFrameBytes / 4; ++i) ASSERT_EQ(b.pixels()[i], kUntouched) << base;
  }
}

}  // namespace
}  // namespace zub::vgatest
