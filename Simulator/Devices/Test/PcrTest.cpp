// The PCH private configuration space and the LPC window's two range registers.
#include <gtest/gtest.h>

#include <Devices/Chipset.h>

#include "EcamAddress.h"

namespace zub {
namespace {

struct Board {
  Machine machine;
  Chipset chipset{machine};
};

TEST(Pcr, RegistersPerPortReadBackWhatWasWritten) {
  Board b;
  Pcr& pcr = b.chipset.pcr;
  std::vector<std::pair<uint8_t, uint16_t>> writes;
  pcr.onWrite = [&](uint8_t port, uint16_t offset, unsigned, uint64_t) { writes.emplace_back(port, offset); };

  EXPECT_EQ(b.machine.mmioRead(0xFDC73418, 4), 0u);   // never written
  b.machine.mmioWrite(0xFDEF2740, 4, 0xFE900001);
  EXPECT_EQ(b.machine.mmioRead(0xFDEF2740, 4), 0xFE900001u);
  EXPECT_EQ(pcr.readRegister(0xEF, 0x2740), 0xFE900001u);
  EXPECT_EQ(pcr.readRegister(0xEE, 0x2740), 0u);      // ports do not alias
  EXPECT_EQ(pcr.readRegister(0xEF, 0x2744), 0u);

  b.machine.mmioWrite(0xFDEF2742, 1, 0xAB);           // narrower writes land bytewise
  EXPECT_EQ(b.machine.mmioRead(0xFDEF2740, 4), 0xFEAB0001u);
  EXPECT_EQ(b.machine.mmioRead(0xFDEF2742, 2), 0xFEABu);
  b.machine.mmioWrite(0xFD000000, 8, 0x0102030405060708ull);
  EXPECT_EQ(pcr.readRegister(0x00, 0x4), 0x01020304u);
  EXPECT_EQ(b.machine.mmioRead(0xFE000000, 4), 0xFFFFFFFFu);   // past the 16 MB

  using W = std::pair<uint8_t, uint16_t>;
  EXPECT_EQ(writes, (std::vector<W>{{0xEF, 0x2740}, {0xEF, 0x2742}, {0x00, 0x0000}}));
}

TEST(Pcr, LpcWindowIsOpenOnlyWithBothRangeRegisters) {
  struct Case {
    uint32_t lpc98, dmi;
    bool open;
  };
  const Case cases[] = {
      {0xFE900001, 0xFE900001, true},
      {0xFE900001, 0x00000000, false},
      {0x00000000, 0xFE900001, false},
      {0xFE900000, 0xFE900001, false},   // LPC range disabled
      {0xFE900001, 0xFE900000, false},   // DMI copy disabled
      {0xFE900001, 0xFEA00001, false},   // the copies disagree
      {0xFEA00001, 0xFEA00001, false},   // open, but elsewhere
  };
  for (const Case& c : cases) {
    Board b;
    b.machine.mmioWrite(Pcr::address(Pcr::kDmiPort, Pcr::kDmiLpcGenericMemoryRange), 4, c.dmi);
    b.machine.mmioWrite(test::ecam(0, 31, 0, 0x98), 4, c.lpc98);
    EXPECT_EQ(b.chipset.lpcMemoryWindowOpen(0xFE900000), c.open) << std::hex << c.lpc98 << " " << c.dmi;
  }
}

}  // namespace
}  // namespace zub
