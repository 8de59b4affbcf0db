// The ACPI PM timer: rate and 24-bit wrap on virtual time, and its decode behind the PMC.
#include <gtest/gtest.h>

#include <Devices/Chipset.h>

#include "EcamAddress.h"

namespace zub {
namespace {

using test::ecam;
constexpr uint64_t kPmcAbase = ecam(0, 31, 2, 0x40), kPmcAcpiCntl = ecam(0, 31, 2, 0x44);

struct Board {
  Machine machine;
  Chipset chipset{machine};
  uint32_t timerAt(uint16_t port) { return machine.ioRead(port, 4); }
};

TEST(AcpiPmTimer, CountsAt3579545HzAndWrapsAt24Bits) {
  Board b;
  struct Case {
    uint64_t ns;
    uint32_t ticks;
  };
  const Case cases[] = {
      {0, 0},
      {279, 0},                      // one tick is 279.365 ns
      {280, 1},
      {1'000'000, 3579},             // 1 ms
      {1'000'000'000, 3'579'545},    // 1 s
      {4'686'968'874, 0xFFFFFF},     // the last ns before the wrap (2^24 ticks = 4.6869688745 s)
      {4'686'968'875, 0},            // wrapped
      {10'000'000'000, 35'795'450 - 2 * 0x1000000},
      {3'600'000'000'000, uint32_t(12'886'362'000ull % 0x1000000)},   // an hour
  };
  for (const Case& c : cases) {
    b.machine.clock.set(c.ns);
    EXPECT_EQ(b.chipset.acpiTimer.count(), c.ticks) << c.ns << " ns";
  }
}

TEST(AcpiPmTimer, DecodesOnlyWhileThePmcEnablesAcpiIo) {
  Board b;
  EXPECT_EQ(b.timerAt(0x508), 0xFFFFFFFFu);   // nothing programmed

  b.machine.mmioWrite(kPmcAbase, 4, 0x500);
  EXPECT_EQ(b.timerAt(0x508), 0xFFFFFFFFu);   // base set, decode still off
  EXPECT_EQ(b.machine.mmioRead(kPmcAbase, 4), 0x501u);   // bit 0: I/O space

  b.machine.mmioWrite(kPmcAcpiCntl, 1, b.machine.mmioRead(kPmcAcpiCntl, 1) | 0x80);
  b.machine.clock.set(2'000'000'000);
  uint32_t first = b.timerAt(0x508);
  EXPECT_EQ(first, b.chipset.acpiTimer.count());
  EXPECT_EQ(first >> 24, 0u);
  EXPECT_GT(b.timerAt(0x508), first);             // it runs
  uint32_t byte2 = b.machine.ioRead(0x50A, 1);
  EXPECT_EQ(byte2, (b.chipset.acpiTimer.count() >> 16) & 0xFF);

  b.machine.mmioWrite(kPmcAbase, 4, 0x1800);      // the base moves, the timer with it
  EXPECT_EQ(b.timerAt(0x508), 0xFFFFFFFFu);
  uint32_t moved = b.timerAt(0x1808);
  EXPECT_EQ(moved, b.chipset.acpiTimer.count());

  b.machine.mmioWrite(kPmcAcpiCntl, 1, 0x00);
  EXPECT_EQ(b.timerAt(0x1808), 0xFFFFFFFFu);

  b.machine.mmioWrite(kPmcAcpiCntl, 1, 0x80);
  b.machine.mmioWrite(kPmcAbase, 4, 0);           // enabled, but no base
  EXPECT_EQ(b.timerAt(0x0008), 0xFFFFFFFFu);
  EXPECT_FALSE(b.chipset.acpiTimer.port());
}

}  // namespace
}  // namespace zub
