// FlashWriteLib linked into the test, on the default board's SPI flash and controller:
// what reaches the PCH SPI flash PPI (through a spy in front of the board's PPI), the BIOS
// control byte around each operation, the range and length rules, and the NOR result.
#include <gtest/gtest.h>

#include <Library/FlashWriteLib.h>

#include "FlashBoard.h"

namespace zub::logotest {
namespace {

constexpr uint32_t kRegion = 16u << 20;
constexpr uint64_t kBiosControl = 0x80000000ull | (31u << 15) | (5u << 12) | 0xDC;

struct Lib : FlashBoard {
  void setControl(uint8_t v) { boot.machine().mmioWrite(kBiosControl, 1, v); }
};

TEST(FlashWriteLib, WriteErasesThenProgramsTheRangeAndRestoresTheProtection) {
  Lib l;
  l.installSpy();
  std::vector<uint8_t> data(0x2000);
  for (size_t i = 0; i < data.size(); ++i) data[i] = uint8_t(i * 13 + 1);
  std::memset(l.flash() + 0x940000, 0x00, 0x3000);   // programmed earlier: must be erased first
  ASSERT_EQ(l.boot.chipset().spi.biosControl(), 0x20) << "the controller comes out of reset protected";
  EXPECT_EQ(ZubFlashWriteData(0x940000, 0x2000, data.data()), EFI_SUCCESS);
  EXPECT_EQ(std::memcmp(l.flash() + 0x940000, data.data(), data.size()), 0);
  EXPECT_EQ(l.flash()[0x942000], 0x00) << "the block after the range is untouched";
  ASSERT_EQ(l.spy.calls.size(), 3u);
  const char* order[] = {"region", "erase", "write"};
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(l.spy.calls[i].function, order[i]);
    EXPECT_EQ(l.spy.calls[i].region, 1u) << "always the BIOS region";
    EXPECT_EQ(l.spy.calls[i].biosControl, 0x00) << "bit 5 released during the operation";
  }
  EXPECT_EQ(l.spy.calls[1].offset, 0x940000u);
  EXPECT_EQ(l.spy.calls[1].count, 0x2000u);
  EXPECT_EQ(l.boot.chipset().spi.biosControl(), 0x20);
  EXPECT_EQ(l.count("ZubFlashWriteData(0x940000 8192)\n"), 1u);
  EXPECT_EQ(l.count("BIOS Address: 0x1000000  size:16777216(0x1000000)\n"), 1u);
  EXPECT_EQ(l.count("ZubFlashWriteData 9699328 8192 Success\n"), 1u);
  auto events = l.flashEvents();
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0]["event"], "flash_erase");
  EXPECT_EQ(events[1]["event"], "flash_write");
  EXPECT_EQ(events[1]["offset"], "0x00940000");
  EXPECT_EQ(events[1]["bytes"], 0x2000);
}

TEST(FlashWriteLib, ALengthOfSixKilobytesIsRefusedBeforeThePpiOrTheControlByte) {
  Lib l;   // no PPI installed: a locate would fail with another message
  uint64_t writes = l.mmioWrites();
  std::vector<uint8_t> data(0x1800, 0);
  EXPECT_EQ(ZubFlashWriteData(0x940000, 0x1800, data.data()), EFI_INVALID_PARAMETER);
  EXPECT_EQ(l.count("Data length must align with 4KB\n"), 1u);
  EXPECT_EQ(l.count("Failed to locate spi flash ppi"), 0u);
  EXPECT_EQ(l.count("ZubFlashWriteData 9699328"), 0u) << "no closing line for a refused call";
  EXPECT_EQ(l.mmioWrites(), writes);
  EXPECT_TRUE(l.flashEvents().empty());
  l.installSpy();
  EXPECT_EQ(ZubFlashWriteData(0x940000, 0x1800, data.data()), EFI_INVALID_PARAMETER);
  EXPECT_TRUE(l.spy.calls.empty());
}

TEST(FlashWriteLib, AnUnalignedOffsetIsPassedThroughUnchanged) {
  Lib l;
  l.installSpy();
  std::vector<uint8_t> data(0x1000, 0x5A);
  EXPECT_EQ(ZubFlashWriteData(0x940123, 0x1000, data.data()), EFI_SUCCESS);
  ASSERT_EQ(l.spy.calls.size(), 3u);
  EXPECT_EQ(l.spy.calls[1].offset, 0x940123u);
  EXPECT_EQ(l.spy.calls[2].offset, 0x940123u);
  EXPECT_EQ(std::memcmp(l.flash() + 0x940123, data.data(), data.size()), 0);
}

TEST(FlashWriteLib, TheControlByteIsWrittenNeverOrTwice) {
  struct Case {
    const char* what;
    uint8_t before;
    uint32_t offset, length;
    bool erase;
    EFI_STATUS status;
    uint64_t writes;
  } cases[] = {
      {"bit 5 clear: never written", 0x00, 0x940000, 0x1000, false, EFI_SUCCESS, 0},
      {"bit 5 and bit 0 clear, erase", 0x00, 0x940000, 0x1000, true, EFI_SUCCESS, 0},
      {"bit 5 set: cleared and restored", 0x20, 0x940000, 0x1000, false, EFI_SUCCESS, 2},
      {"bit 5 set with bit 0", 0x21, 0x940000, 0x1000, true, EFI_SUCCESS, 2},
      {"bit 5 set, range check fails", 0x20, kRegion - 0x1000, 0x2000, false, EFI_INVALID_PARAMETER, 2},
      {"bit 5 clear, range check fails", 0x01, kRegion, 0x1000, true, EFI_INVALID_PARAMETER, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Lib l;
    l.installSpy();
    l.setControl(c.before);
    uint64_t writes = l.mmioWrites();
    std::vector<uint8_t> data(c.length, 0x11);
    EXPECT_EQ(c.erase ? ZubFlashErase(c.offset, c.length) : ZubFlashWriteData(c.offset, c.length, data.data()),
              c.status);
    EXPECT_EQ(l.mmioWrites() - writes, c.writes);
    EXPECT_EQ(l.boot.chipset().spi.biosControl(), c.before) << "as found";
    for (const auto& call : l.spy.calls) EXPECT_EQ(call.biosControl, c.before & ~0x20);
  }
}

TEST(FlashWriteLib, TheRangeMayEndExactlyAtTheRegionEnd) {
  struct Case {
    uint32_t offset, length;
    EFI_STATUS status;
  } cases[] = {
      {kRegion - 0x1000, 0x1000, EFI_SUCCESS},
      {0, kRegion, EFI_SUCCESS},
      {kRegion - 0x1000 + 1, 0x1000, EFI_INVALID_PARAMETER},
      {kRegion, 0, EFI_SUCCESS},
      {0xFFFFF000, 0x2000, EFI_INVALID_PARAMETER},   // wraps to 0x1000 in 32 bits
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.offset);
    Lib l;
    l.installSpy();
    EXPECT_EQ(ZubFlashErase(c.offset, c.length), c.status);
    bool refused = c.status == EFI_INVALID_PARAMETER;
    EXPECT_EQ(l.spy.calls.size(), refused ? 1u : 2u) << "the region query only, when out of range";
    char line[64];
    std::snprintf(line, sizeof line, "Out of bios range %u %u\n", c.length, c.offset);
    EXPECT_EQ(l.count(line), refused ? 1u : 0u);
  }
}

TEST(FlashWriteLib, EraseOfTheLogoHeaderBlockErasesOneBlockAndWritesNothing) {
  Lib l;
  l.install("spi-flash");
  std::memset(l.flash() + 0x93F000, 0, 0x3000);
  EXPECT_EQ(ZubFlashErase(0x940000, 4096), EFI_SUCCESS);
  for (uint32_t i = 0; i < 0x1000; ++i) ASSERT_EQ(l.flash()[0x940000 + i], 0xFF) << i;
  EXPECT_EQ(l.flash()[0x93FFFF], 0x00);
  EXPECT_EQ(l.flash()[0x941000], 0x00);
  auto events = l.flashEvents();
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0]["event"], "flash_erase");
  EXPECT_EQ(events[0]["bytes"], 4096);
  EXPECT_EQ(l.count("ZubFlashErase(0x940000 4096)\n"), 1u);
  EXPECT_EQ(l.count("ZubFlashErase 9699328 4096 Success\n"), 1u);
}

TEST(FlashWriteLib, FailuresArePrintedReturnedAndLeaveTheControlByteRestored) {
  struct Case {
    const char* what;
    EFI_STATUS SpiSpy::*fail;
    EFI_STATUS status;
    const char* message;
    size_t calls;
  } cases[] = {
      {"region query", &SpiSpy::failRegion, EFI_DEVICE_ERROR, "Failed to get bios spi base Device Error\n", 1},
      {"erase", &SpiSpy::failErase, EFI_DEVICE_ERROR, "Failed to erase flash 0x940000 4096 Device Error\n", 2},
      {"write", &SpiSpy::failWrite, EFI_ACCESS_DENIED, "Failed to write flash 0x940000 4096 Access Denied\n", 3},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Lib l;
    l.installSpy();
    l.spy.*c.fail = c.status;
    std::vector<uint8_t> data(0x1000, 0);
    EXPECT_EQ(ZubFlashWriteData(0x940000, 0x1000, data.data()), c.status);
    EXPECT_EQ(l.count(c.message), 1u) << l.log();
    EXPECT_EQ(l.spy.calls.size(), c.calls);
    EXPECT_EQ(l.boot.chipset().spi.biosControl(), 0x20);
  }
  Lib none;
  EXPECT_EQ(ZubFlashErase(0x940000, 0x1000), EFI_NOT_FOUND);
  EXPECT_EQ(none.count("Failed to locate spi flash ppi "), 1u);
  EXPECT_EQ(none.count(" Not Found\n"), 2u) << "the failure and the closing line";
}

TEST(FlashWriteLib, TheBoardRefusesFlashWritesWhileBit5IsSet) {
  Lib l;
  l.install("spi-flash");
  PCH_SPI_PPI* ppi = l.boot.locate<PCH_SPI_PPI>(gPchSpiPpiGuid);
  ASSERT_NE(ppi, nullptr);
  uint8_t data[16] = {};
  EXPECT_EQ(ppi->FlashErase(ppi, FlashRegionBios, 0x940000, 0x1000), EFI_ACCESS_DENIED);
  EXPECT_EQ(ppi->FlashWrite(ppi, FlashRegionBios, 0x940000, 16, data), EFI_ACCESS_DENIED);
  EXPECT_EQ(l.boot.events().ofType("flash_refused").size(), 2u);
  l.setControl(0x00);
  EXPECT_EQ(ppi->FlashErase(ppi, FlashRegionBios, 0x940000, 0x1800), EFI_INVALID_PARAMETER) << "whole blocks only";
  EXPECT_EQ(ppi->FlashWrite(ppi, FlashRegionBios, 0x940000, 16, data), EFI_SUCCESS);
  EXPECT_TRUE(l.flashEvents().size() == 1u);
}

}  // namespace
}  // namespace zub::logotest
