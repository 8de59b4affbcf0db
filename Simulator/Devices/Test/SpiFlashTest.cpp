// The SPI flash part's BIOS region: NOR erase and program, the mapping that ends at 4 GB,
// and the power loss in the middle of an operation.
#include <gtest/gtest.h>

#include <cstring>

#include "Devices/SpiFlash.h"

namespace zub {
namespace {

constexpr uint32_t kSize = 16u << 20;

struct Part {
  Machine machine;
  SpiFlash flash{machine, std::vector<uint8_t>(kSize, 0xFF)};
  uint8_t* bytes() { return const_cast<uint8_t*>(flash.image().data()); }
};

TEST(SpiFlash, EraseSetsWholeBlocksAndProgrammingOnlyClearsBits) {
  Part p;
  std::vector<uint8_t> zeros(0x3000, 0x00), pattern(16, 0x3C);
  ASSERT_EQ(p.flash.program(0x10000, 0x3000, zeros.data()), SpiFlash::Result::Ok);
  p.bytes()[0x10800] = 0xF0;   // as if programmed earlier
  ASSERT_EQ(p.flash.program(0x10800, 1, pattern.data()), SpiFlash::Result::Ok);
  EXPECT_EQ(p.bytes()[0x10800], 0x30) << "new = old AND data";
  // An erase takes any address in its first block and erases whole blocks.
  ASSERT_EQ(p.flash.erase(0x11234, 0x1000), SpiFlash::Result::Ok);
  EXPECT_EQ(p.bytes()[0x10FFF], 0x00);
  for (uint32_t i = 0x11000; i < 0x12000; ++i) ASSERT_EQ(p.bytes()[i], 0xFF) << i;
  EXPECT_EQ(p.bytes()[0x12000], 0x00);
  EXPECT_EQ(p.flash.erase(0x10000, 0x800), SpiFlash::Result::Misaligned);
  EXPECT_EQ(p.flash.erase(kSize - 0x1000, 0x2000), SpiFlash::Result::OutOfRange);
  EXPECT_EQ(p.flash.program(kSize - 8, 16, pattern.data()), SpiFlash::Result::OutOfRange);
  EXPECT_EQ(p.flash.program(0xFFFFFFF8, 16, pattern.data()), SpiFlash::Result::OutOfRange) << "no 32-bit wrap";
  EXPECT_EQ(p.flash.operations(), 3u) << "refused operations are not counted";
}

TEST(SpiFlash, TheRegionIsMappedReadOnlyEndingAt4Gigabytes) {
  Part p;
  p.bytes()[0x940000] = 0x12, p.bytes()[0x940001] = 0x34, p.bytes()[kSize - 1] = 0xAB;
  EXPECT_EQ(p.machine.mmioRead(0xFF940000, 2), 0x3412u);
  EXPECT_EQ(p.machine.mmioRead(0xFFFFFFFF, 1), 0xABu);
  p.machine.mmioWrite(0xFF940000, 1, 0);
  EXPECT_EQ(p.bytes()[0x940000], 0x12) << "writes through the mapping are ignored";
  EXPECT_EQ(p.machine.mapMemory(0xFF940000, 0x80000), p.bytes() + 0x940000);
  EXPECT_EQ(p.machine.mapMemory(0xFFFFF000, 0x2000), nullptr) << "past 4 GB";
  EXPECT_EQ(p.machine.mmioRead(0xFEFFFFFF, 1), 0xFFu) << "below the region nothing decodes";
}

TEST(SpiFlash, APowerLossDoesTheFirstHalfOfTheInterruptedOperation) {
  struct Case {
    bool erase;
    uint32_t count;
    uint32_t done;   // bytes changed before the power failed
  } cases[] = {{true, 0x4000, 0x2000}, {true, 0x3000, 0x1000}, {true, 0x1000, 0}, {false, 0x1001, 0x800}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.count);
    Part p;
    std::vector<uint8_t> zeros(0x10000, 0x00);
    std::memset(p.bytes() + 0x20000, 0x00, 0x10000);
    std::vector<std::string> seen;
    p.flash.onOperation = [&](const char* kind, uint32_t, uint32_t, bool interrupted) {
      seen.push_back(std::string(kind) + (interrupted ? "!" : ""));
    };
    p.flash.armPowerLoss(2);
    ASSERT_EQ(p.flash.erase(0x10000, 0x1000), SpiFlash::Result::Ok);
    try {
      if (c.erase) p.flash.erase(0x20000, c.count);
      else p.flash.program(0x40000, c.count, zeros.data());
      FAIL() << "the power stays on";
    } catch (const BootEnd& end) {
      EXPECT_EQ(end.kind, BootEndKind::PowerLoss);
      EXPECT_NE(end.detail.find("flash operation 2"), std::string::npos) << end.detail;
    }
    uint32_t base = c.erase ? 0x20000 : 0x40000;
    uint8_t before = c.erase ? 0x00 : 0xFF, after = c.erase ? 0xFF : 0x00;
    for (uint32_t i = 0; i < c.count; ++i) ASSERT_EQ(p.bytes()[base + i], i < c.done ? after : before) << i;
    EXPECT_EQ(seen, (std::vector<std::string>{"erase", c.erase ? "erase!" : "write!"}));
  }
}

}  // namespace
}  // namespace zub
