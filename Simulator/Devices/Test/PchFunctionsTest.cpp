// Registers of the root complex and the PCH functions that other models depend on.
#include <gtest/gtest.h>

#include <Devices/Chipset.h>

#include "EcamAddress.h"

namespace zub {
namespace {

using test::ecam;

struct Board {
  Board() : chipset(machine) {}
  explicit Board(const ChipsetConfig& c) : chipset(machine, c) {}
  Machine machine;
  Chipset chipset;
};

TEST(RootComplex, RootBusDecodeBitIsTheOnlyWritableBitOf0x108) {
  ChipsetConfig c;
  c.rootComplex.rootBusConfig = 0x0021;
  Board b(c);
  std::vector<uint16_t> seen;
  b.chipset.rootComplex.onRootBusConfigWrite = [&](uint16_t v) { seen.push_back(v); };
  const uint64_t reg = ecam(0, 0, 0, 0x108);

  EXPECT_EQ(b.machine.mmioRead(reg, 2), 0x0021u);
  b.machine.mmioWrite(reg, 2, b.machine.mmioRead(reg, 2) | 0x8000);   // as the bring-up does
  EXPECT_EQ(b.machine.mmioRead(reg, 2), 0x8021u);
  EXPECT_TRUE(b.chipset.rootComplex.rootBus1Decode());
  b.machine.mmioWrite(reg, 2, 0x7FDE);   // clears bit 15, cannot touch the rest
  EXPECT_EQ(b.machine.mmioRead(reg, 2), 0x0021u);
  b.machine.mmioWrite(ecam(0, 0, 0, 0x104), 4, 0xFFFFFFFF);   // the dword below: not this register
  EXPECT_EQ(seen, (std::vector<uint16_t>{0x8021, 0x0021}));
}

TEST(LpcBridge, GenericMemoryRangeRegister) {
  Board b;
  LpcBridge& lpc = b.chipset.lpc;
  const uint64_t reg = ecam(0, 31, 0, 0x98);
  struct Case {
    uint32_t written, readBack;
    std::optional<uint32_t> window;
  };
  const Case cases[] = {
      {0xFE900001, 0xFE900001, 0xFE900000},
      {0xFE90FFFF, 0xFE900001, 0xFE900000},   // bits 15:1 reserved
      {0xFE900000, 0xFE900000, std::nullopt},
      {0x00000001, 0x00000001, 0x00000000},
      {0, 0, std::nullopt},
  };
  for (const Case& c : cases) {
    b.machine.mmioWrite(reg, 4, c.written);
    EXPECT_EQ(b.machine.mmioRead(reg, 4), c.readBack) << std::hex << c.written;
    EXPECT_EQ(lpc.memoryWindow(), c.window) << std::hex << c.written;
  }
  b.machine.mmioWrite(reg, 4, 0xFE900001);
  EXPECT_TRUE(lpc.memoryWindowOpen(0xFE900000));
  EXPECT_TRUE(lpc.memoryWindowOpen(0xFE90ABCD));   // any address of the same 64 KB
  EXPECT_FALSE(lpc.memoryWindowOpen(0xFE910000));
}

TEST(Pmc, PowerFailureStatusIsWriteOneToClear) {
  ChipsetConfig c;
  c.pmc.powerFailure = true;
  Board b(c);
  const uint64_t reg = ecam(0, 31, 2, 0xA4);
  EXPECT_EQ(b.machine.mmioRead(reg, 1) & 0x02, 0x02u);
  b.machine.mmioWrite(reg, 1, 0x00);   // writing 0 keeps it
  EXPECT_TRUE(b.chipset.pmc.powerFailure());
  b.machine.mmioWrite(reg, 4, 0x02);   // writing 1 clears it
  EXPECT_FALSE(b.chipset.pmc.powerFailure());
  EXPECT_EQ(b.machine.mmioRead(reg, 1) & 0x02, 0x00u);
  b.machine.mmioWrite(reg, 1, 0xFF);   // software cannot set it
  EXPECT_FALSE(b.chipset.pmc.powerFailure());
  b.chipset.pmc.setPowerFailure(true);   // the board can
  EXPECT_EQ(b.machine.mmioRead(reg, 1) & 0x02, 0x02u);
}

TEST(SpiController, BiosWriteProtectBitOfTheBiosControlByte) {
  Board b;
  const uint64_t reg = ecam(0, 31, 5, 0xDC);
  EXPECT_TRUE(b.chipset.spi.biosWriteProtected());
  uint8_t bc = uint8_t(b.machine.mmioRead(reg, 1));
  b.machine.mmioWrite(reg, 1, bc & ~0x20);
  EXPECT_FALSE(b.chipset.spi.biosWriteProtected());
  EXPECT_EQ(b.machine.mmioRead(reg, 1), uint64_t(bc & ~0x20));
  b.machine.mmioWrite(reg, 1, bc);
  EXPECT_TRUE(b.chipset.spi.biosWriteProtected());
  EXPECT_EQ(b.machine.mmioRead(reg, 1), uint64_t(bc));
}

}  // namespace
}  // namespace zub
