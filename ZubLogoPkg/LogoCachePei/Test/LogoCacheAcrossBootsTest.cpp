// The flash logo area as the state carried from boot to boot: the display and the flash
// update for each state the area can be in, and a power loss at every flash operation of
// a logo update.
#include <gtest/gtest.h>

#include "LogoBoot.h"

namespace zub::logotest {
namespace {

// The states of the area at the start of a boot.
enum class Area { Erased, ValidOem31, ValidOem32 };

const PersistentState& stateWith(Area area) {
  static const PersistentState erased;
  static const PersistentState oem31 = bootLogo(oem(31)).after;
  static const PersistentState oem32 = bootLogo(oem(32)).after;
  return area == Area::Erased ? erased : area == Area::ValidOem31 ? oem31 : oem32;
}

TEST(LogoCacheAcrossBoots, StateTable) {
  enum class Shown { Flash, Download, BuiltIn };
  enum class Update { None, Rewrite, EraseHeader };
  struct Case {
    const char* what;
    Area area;
    uint32_t oem;
    bool clean;
    Shown shown;
    Update update;
  } cases[] = {
      {"valid, same OEM", Area::ValidOem31, 31, false, Shown::Flash, Update::None},
      {"valid, same OEM, clean-cache request", Area::ValidOem31, 31, true, Shown::Flash, Update::Rewrite},
      {"valid, other OEM", Area::ValidOem32, 31, false, Shown::Download, Update::Rewrite},
      {"invalid, customer OEM", Area::Erased, 31, false, Shown::Download, Update::Rewrite},
      {"valid, other OEM, standard logo", Area::ValidOem31, 0, false, Shown::BuiltIn, Update::EraseHeader},
      {"invalid, standard logo", Area::Erased, 2, false, Shown::BuiltIn, Update::None},
      {"invalid, standard logo, clean-cache request", Area::Erased, 0, true, Shown::BuiltIn, Update::EraseHeader},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const PersistentState& before = stateWith(c.area);
    auto b = bootLogo(oem(c.oem, c.clean), before);
    ASSERT_EQ(b.result.end, BootEndKind::Completed) << b.result.detail;
    EXPECT_EQ(b.count("Use valid logo from flash, "), c.shown == Shown::Flash ? 1u : 0u);
    EXPECT_EQ(b.count("Logo flash invalid or oem changed "), c.shown == Shown::Download ? 1u : 0u);
    EXPECT_EQ(b.count("Use normal logo from FVM, "), c.shown == Shown::BuiltIn ? 1u : 0u);
    EXPECT_EQ(b.downloads("bios_logo_early.bmp"),
              (c.shown == Shown::Download ? 1u : 0u) + (c.update == Update::Rewrite ? 1u : 0u));
    auto ops = b.flashOps();
    switch (c.update) {
      case Update::None:
        EXPECT_TRUE(ops.empty());
        EXPECT_EQ(b.count("No need to check logo flash update\n"), 1u);
        break;
      case Update::Rewrite:
        ASSERT_EQ(ops.size(), 8u);
        EXPECT_EQ(le32(b.area() + 0x14), c.oem);
        EXPECT_EQ(le32(b.area()), zcrc(b.area() + 4, 0xFFC));
        break;
      case Update::EraseHeader:
        ASSERT_EQ(ops.size(), 1u);
        EXPECT_EQ(ops[0]["event"], "flash_erase");
        EXPECT_EQ(ops[0]["offset"], "0x00940000");
        EXPECT_EQ(ops[0]["bytes"], 4096);
        EXPECT_EQ(b.count("Only erase flash logo fv\n"), 1u);
        for (uint32_t i = 0; i < 0x1000; ++i) ASSERT_EQ(b.area()[i], 0xFF);
        break;
    }
    if (c.area == Area::ValidOem31 && c.oem == 0) {
      EXPECT_EQ(b.count("Logo oem changed from 31 to 0\n"), 1u);
    }
    // The next boot with the same BMC finds the area as this one left it.
    auto next = bootLogo(oem(c.oem), b.after);
    bool cached = c.oem >= 3;
    EXPECT_EQ(next.count("Use valid logo from flash, "), cached ? 1u : 0u);
    EXPECT_TRUE(next.flashOps().empty());
  }
}

TEST(LogoCacheAcrossBoots, APowerLossAtAnyFlashOperationLeavesTheAreaInvalidAndTheNextBootRewritesIt) {
  const auto full = bootLogo(oem(31));
  const size_t operations = full.flashOps().size();
  ASSERT_EQ(operations, 8u) << "erase and write of three logos and the header";
  for (uint32_t n = 1; n <= operations; ++n) {
    SCOPED_TRACE(n);
    auto lost = bootLogo(oem(31), {}, n);
    EXPECT_EQ(lost.result.end, BootEndKind::PowerLoss);
    auto ops = lost.flashOps();
    ASSERT_EQ(ops.size(), n);
    EXPECT_TRUE(ops.back().value("interrupted", false));
    // The boot after the power loss: the area is invalid, the update runs again in full.
    auto next = bootLogo(oem(31), lost.after);
    EXPECT_EQ(next.result.end, BootEndKind::Completed);
    EXPECT_EQ(next.count("Invalid CRC32 Calc:0x"), 1u) << next.log;
    EXPECT_EQ(next.count("Logo flash invalid or oem changed "), 1u);
    EXPECT_EQ(next.flashOps().size(), operations);
    EXPECT_EQ(std::memcmp(next.area(), full.area(), 0x1000), 0) << "the same header as an uninterrupted update";
    auto after = bootLogo(oem(31), next.after);
    EXPECT_EQ(after.count("Use valid logo from flash, 31\n"), 1u);
  }
}

}  // namespace
}  // namespace zub::logotest
