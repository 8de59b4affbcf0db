// LogoCachePei in whole boots of the default board: the entry and its PCDs, the logo on
// screen for each layout and OEM selector, the validation of the flash logo area, the
// placement of the customer logos and the overflow warning.
#include <gtest/gtest.h>

#include "LogoBoot.h"
#include "Board/BoardFlash.h"

namespace zub::logotest {
namespace {

constexpr uint32_t kWhite = 0xFFFFFF, kZub2Green = 0x80FF80, kCustomerOrange = 0xFFB040;

nlohmann::json bootConfig(const std::string& data) {
  return {{"nvram", nlohmann::json::array({{{"name", "ZubBootConfiguration"},
                                            {"guid", "33F9B4EE-1C42-4BF3-B1E6-9D3C7E095D09"},
                                            {"data", data}}})}};
}

// The logo's frame: its top-left pixel at (x, y), nothing of it just outside.
void expectLogoAt(const LogoBoot& b, unsigned x, unsigned y, uint32_t frame) {
  EXPECT_EQ(b.pixel(x, y), frame);
  EXPECT_EQ(b.pixel(x + 2, y + 2), frame);
  EXPECT_NE(b.pixel(x + 8, y + 8), frame) << "inside the frame: the logo's background";
  if (x > 0) EXPECT_NE(b.pixel(x - 1, y), frame);
  EXPECT_NE(b.pixel(x, y - 1), frame);
}

TEST(LogoCachePei, EntryWritesItsPostCodeAndPublishesTheBootConfiguration) {
  struct Case {
    const char* what;
    nlohmann::json nvram;
    const char* message;
    uint64_t quiet, hide, mode, evort;
  } cases[] = {
      {"all four bytes", bootConfig("01 00 01 02 00 00"), "Nvram quiet boot:1  hide logo:0  early vga mode:2 eVORT:1\n",
       1, 0, 2, 1},
      {"hide logo", bootConfig("00 01 00 00 07 07"), "Nvram quiet boot:0  hide logo:1  early vga mode:0 eVORT:0\n", 0,
       1, 0, 0},
      {"variable larger than 6 bytes", bootConfig("01 01 01 01 00 00 00"),
       "Failed to get zub boot config setup variable Buffer Too Small\n", 0, 0, 1, 0},
      {"variable missing", {{"nvram", nlohmann::json::array()}},
       "Failed to get zub boot config setup variable Not Found\n", 0, 0, 1, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    // The board's own PCD value of the early VGA mode stays when the variable is not read.
    auto b = bootLogo(merged(c.nvram, {{"pcd", {{"PcdZubEarlyVgaMode", 1}}}}));
    EXPECT_EQ(b.count("LogoCachePeiEntry ---start\n"), 1u);
    EXPECT_EQ(b.count(c.message), 1u) << b.log;
    EXPECT_EQ(b.quietBoot, c.quiet);
    EXPECT_EQ(b.hideLogo, c.hide);
    EXPECT_EQ(b.earlyVgaMode, c.mode);
    EXPECT_EQ(b.evort, c.evort);
    size_t posts = 0;
    for (const auto& e : b.ofType("post_code")) posts += e["port"] == "0x85" && e["value"] == "0x01";
    EXPECT_EQ(posts, 1u);
  }
}

TEST(LogoCachePei, TheBuiltInLogoIsDrawnWhereTheLayoutWantsIt) {
  struct Case {
    const char* what;
    uint32_t oem;
    const char* mode;
    int x, y;          // -1: no logo
    uint32_t frame;
  } cases[] = {
      {"full screen, OEM 0", 0, "00", 0, 16, kWhite},
      {"full screen, OEM 1 shares OEM 0's logo", 1, "00", 0, 16, kWhite},
      {"full screen, OEM 2", 2, "00", 0, 16, kZub2Green},
      {"layout 1", 0, "01", 320, 200, kWhite},
      {"layout 2", 2, "02", 320, 200, kZub2Green},
      {"mode 3 draws nothing", 0, "03", -1, -1, kWhite},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    auto b = bootLogo(merged(oem(c.oem), bootConfig(std::string("00 00 00 ") + c.mode + " 00 00")));
    EXPECT_EQ(b.result.end, BootEndKind::Completed) << b.result.detail;
    char line[64];
    std::snprintf(line, sizeof line, "Use normal logo from FVM, %u\n", c.oem);
    EXPECT_EQ(b.count(line), 1u);
    EXPECT_EQ(b.count("RAW data size = "), 1u);
    EXPECT_EQ(b.logoUpdate, 0u) << "an erased area is no reason to touch the flash for a standard logo";
    EXPECT_TRUE(b.flashOps().empty());
    if (c.x >= 0) {
      expectLogoAt(b, c.x, c.y, c.frame);
    } else {
      EXPECT_NE(b.pixel(0, 16), kWhite);
      EXPECT_NE(b.pixel(320, 200), kWhite);
    }
  }
}

TEST(LogoCachePei, HideLogoSkipsTheDisplayAndItsValidation) {
  auto b = bootLogo(merged(oem(31), bootConfig("00 01 00 00 00 00")));
  EXPECT_EQ(b.count("Skip to show logo depend on nvram variable config\n"), 1u);
  EXPECT_EQ(b.count("Invalid CRC32"), 0u);
  EXPECT_EQ(b.logoUpdate, 0u) << "the display step cannot raise the update";
  EXPECT_EQ(b.count("No need to check logo flash update\n"), 1u);
  EXPECT_EQ(b.downloads("bios_logo_early.bmp"), 0u);
  EXPECT_TRUE(b.flashOps().empty());
}

// A state whose flash holds `header` at the area start and `fill` bytes after it.
PersistentState stateWithArea(const HeaderFields& f, uint8_t fill = 0x5A) {
  PersistentState s;
  s.flash = freshFlashImage(defaultBoard());
  uint8_t* area = s.flash.data() + kArea;
  std::memset(area + 0x1000, fill, kAreaSize - 0x1000);
  auto h = headerBlock(f, area);
  std::copy(h.begin(), h.end(), area);
  return s;
}

TEST(LogoCachePei, ValidationOfTheFlashArea) {
  struct Case {
    const char* what;
    HeaderFields fields;
    bool erased, corruptEarly;
    const char* message;   // nullptr: valid
  } cases[] = {
      {"erased area", {}, true, false, "Invalid CRC32 Calc:0x"},
      {"wrong magic", {.goodMagic = false}, false, false, "Invalid Magic Guid: C4BA7AFE-4026-40AA-9233-AE3B7EADE32B\n"},
      {"misaligned offset", {.offset = {0x1000, 0x2100, 0x3000}}, false, false,
       "Offset not aliged by 4KB: 0x1000 0x2100 0x3000\n"},
      {"early logo at offset 0, inside the header block", {.offset = {0, 0x2000, 0x3000}}, false, false,
       "Invalid logo range [0x0, 256] [0x2000, 256] [0x3000, 256]\n"},
      {"offset + size exactly 0x80000", {.offset = {0x1000, 0x2000, 0x7F000}, .size = {0x100, 0x100, 0x1000}}, false,
       false, "Invalid logo range [0x1000, 256] [0x2000, 256] [0x7f000, 4096]\n"},
      {"one byte less is accepted", {.offset = {0x1000, 0x2000, 0x7F000}, .size = {0x100, 0x100, 0xFFF}}, false, false,
       nullptr},
      {"size wrapping past 4 GB", {.offset = {0x1000, 0x2000, 0x3000}, .size = {0xFFFFF000, 0x100, 0x100}}, false,
       false, "Invalid logo range [0x1000, 4294963200]"},
      {"early logo CRC", {}, false, true, "Early logo crc32 error: calc:0x"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    PersistentState s = c.erased ? PersistentState{} : stateWithArea(c.fields);
    if (c.corruptEarly) s.flash[kArea + 0x1000] ^= 0x01;
    auto b = bootLogo(merged(oem(31), bootConfig("00 00 00 03 00 00")), s);
    if (c.message) {
      EXPECT_EQ(b.count(c.message), 1u) << b.log;
      EXPECT_EQ(b.count("Logo flash invalid or oem changed "), 1u);
    } else {
      EXPECT_EQ(b.count("Use valid logo from flash, 31\n"), 1u) << b.log;
    }
    size_t failures = b.count("Invalid ") + b.count("Offset not aliged") + b.count("logo crc32 error");
    EXPECT_EQ(failures, c.message ? 1u : 0u) << "the first failure ends the test";
  }
}

TEST(LogoCachePei, TheCustomerLogoIsDownloadedCachedAndThenShownFromFlash) {
  auto first = bootLogo(oem(31));
  EXPECT_EQ(first.result.end, BootEndKind::Completed);
  EXPECT_EQ(first.count("Invalid CRC32 Calc:0x"), 1u);
  EXPECT_EQ(first.count("Logo flash invalid or oem changed 4294967295 31\n"), 1u);
  EXPECT_EQ(first.logoUpdate, 1u);
  expectLogoAt(first, 0, 16, kCustomerOrange);
  EXPECT_EQ(first.downloads("bios_logo_early.bmp"), 2u) << "once to show, once to cache";
  EXPECT_EQ(first.downloads("bios_logo_post.bmp"), 1u);
  EXPECT_EQ(first.downloads("bios_logo_quiet.bmp"), 1u);

  // The cached area, read back with zlib: header CRC, magic, OEM, and each logo byte for byte.
  const BoardConfig board = boardWith(oem(31));
  const uint8_t* a = first.area();
  EXPECT_EQ(le32(a), zcrc(a + 4, 0xFFC));
  EXPECT_EQ(le32(a + 0x14), 31u);
  uint32_t expectedOffset = 0x1000;
  for (int i = 0; i < 3; ++i) {
    const auto& file = board.bmc.files[i];
    uint32_t offset = le32(a + 0x18 + 12 * i), size = le32(a + 0x1C + 12 * i);
    EXPECT_EQ(offset, expectedOffset);
    ASSERT_EQ(size, file.second.size()) << file.first;
    EXPECT_EQ(le32(a + 0x20 + 12 * i), zcrc(file.second.data(), size));
    EXPECT_EQ(std::memcmp(a + offset, file.second.data(), size), 0);
    expectedOffset += (size + 0xFFF) & ~0xFFFu;
  }
  for (size_t i = 0x3C; i < 0x1000; ++i) ASSERT_EQ(a[i], 0) << "the rest of the header block is zero";
  auto ops = first.flashOps();
  ASSERT_EQ(ops.size(), 8u);
  EXPECT_EQ(ops.back()["event"], "flash_write");
  EXPECT_EQ(ops.back()["offset"], "0x00940000") << "the header is written last";

  auto second = bootLogo(oem(31), first.after);
  EXPECT_EQ(second.count("Use valid logo from flash, 31\n"), 1u);
  EXPECT_EQ(second.count("No need to check logo flash update\n"), 1u);
  EXPECT_EQ(second.downloads("bios_logo_early.bmp"), 0u);
  EXPECT_TRUE(second.flashOps().empty());
  expectLogoAt(second, 0, 16, kCustomerOrange);
  EXPECT_EQ(second.after.flash, first.after.flash);
}

nlohmann::json bmcFiles(size_t early, size_t post, size_t quiet) {
  nlohmann::json files = nlohmann::json::array();
  const char* names[] = {"bios_logo_early.bmp", "bios_logo_post.bmp", "bios_logo_quiet.bmp"};
  size_t sizes[] = {early, post, quiet};
  for (int i = 0; i < 3; ++i) {
    std::vector<int> bytes(sizes[i]);
    for (size_t k = 0; k < sizes[i]; ++k) bytes[k] = int((k * 7 + i) & 0xFF);
    files.push_back({{"name", names[i]}, {"data", bytes}});
  }
  return {{"bmc", {{"files", files}}}};
}

TEST(LogoCachePei, ThreeLogosOf100KilobytesArePlacedOn4KilobyteBoundaries) {
  auto b = bootLogo(merged(oem(31), bmcFiles(102400, 102400, 102400)));
  const uint8_t* a = b.area();
  const uint32_t offsets[] = {0x1000, 0x1A000, 0x33000};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(le32(a + 0x18 + 12 * i), offsets[i]);
    EXPECT_EQ(le32(a + 0x1C + 12 * i), 102400u);
  }
  EXPECT_EQ(b.count("Get <bios_logo_early.bmp> size:102400  align size:102400\n"), 1u);
  std::vector<std::pair<std::string, std::string>> expected = {
      {"flash_erase", "0x00941000"}, {"flash_write", "0x00941000"}, {"flash_erase", "0x0095A000"},
      {"flash_write", "0x0095A000"}, {"flash_erase", "0x00973000"}, {"flash_write", "0x00973000"},
      {"flash_erase", "0x00940000"}, {"flash_write", "0x00940000"}};
  auto ops = b.flashOps();
  ASSERT_EQ(ops.size(), expected.size());
  for (size_t i = 0; i < ops.size(); ++i) {
    EXPECT_EQ(ops[i]["event"], expected[i].first) << i;
    EXPECT_EQ(ops[i]["offset"], expected[i].second) << i;
  }
  EXPECT_EQ(ops[1]["bytes"], 0x19000);
}

TEST(LogoCachePei, ALogoSetTooLargeForTheAreaIsReportedAndLeavesTheHeaderUnwritten) {
  auto b = bootLogo(merged(oem(31), bmcFiles(204800, 204800, 204800)));
  EXPECT_EQ(b.count("Logo size overflow 10113024 204800\n"), 1u) << b.log;
  size_t warnings = 0;
  for (const auto& e : b.ofType("status_code")) {
    if (e["value"] != "0xFFFFFFFF" || e.value("data", "") != "04 10 00 00") continue;
    ++warnings;
    EXPECT_EQ(e["type"], "0x00000001");
    std::string caller = e.value("caller", "");
    EXPECT_TRUE(caller == "gZubLogoCachePeiFileGuid" || caller == "E7A4E924-77F3-414B-82A9-A5D0EF1DF837") << caller;
  }
  EXPECT_EQ(warnings, 1u);
  auto ops = b.flashOps();
  ASSERT_EQ(ops.size(), 4u) << "two logos written, the third and the header not";
  for (const auto& op : ops) EXPECT_NE(op["offset"], "0x00940000");
  EXPECT_EQ(b.area()[0], 0xFF);
}

TEST(LogoCachePei, ALogoIsDrawnOnlyWhenItsDeclaredSizeLiesInsideWhatWasFound) {
  // The BMC's early logo claims 64 bytes more than the file holds.
  BoardConfig board = boardWith(oem(31));
  std::vector<uint8_t> early = board.bmc.files[0].second;
  put32(early.data() + 2, uint32_t(early.size() + 64));
  std::vector<int> bytes(early.begin(), early.end());
  auto b = bootLogo(merged(oem(31), {{"bmc", {{"files", {{{"name", "bios_logo_early.bmp"}, {"data", bytes}}}}}}}));
  char line[80];
  std::snprintf(line, sizeof line, "Logo image declares %zu bytes, %zu found\n", early.size() + 64, early.size());
  EXPECT_EQ(b.count(line), 1u) << b.log;
  EXPECT_NE(b.pixel(0, 16), kCustomerOrange);
  EXPECT_EQ(b.result.end, BootEndKind::Completed);

  // The same picture cached with a size shorter than its header declares.
  auto cached = bootLogo(oem(31));
  PersistentState s = cached.after;
  uint8_t* a = s.flash.data() + kArea;
  put32(a + 0x1C, le32(a + 0x1C) - 100);
  put32(a + 0x20, zcrc(a + le32(a + 0x18), le32(a + 0x1C)));
  put32(a, zcrc(a + 4, 0xFFC));
  auto again = bootLogo(oem(31), s);
  EXPECT_EQ(again.count("Use valid logo from flash, 31\n"), 1u);
  EXPECT_EQ(again.count("Logo image declares "), 1u);
  EXPECT_NE(again.pixel(0, 16), kCustomerOrange);
}

}  // namespace
}  // namespace zub::logotest
