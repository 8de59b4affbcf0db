// CpldAccessPei on the board: each access opens the LPC window in both range registers,
// makes one access of its width at the CPLD base plus the offset, and closes it again.
#include <gtest/gtest.h>

#include <Ppi/LpcCpld.h>

#include "Board/BoardFile.h"
#include "Board/BootSession.h"
#include "Devices/Chipset.h"
#include "Devices/Cpld.h"

namespace zub {
namespace {

constexpr uint32_t kBase = 0xFE900000;

struct CpldAccess : ::testing::Test {
  std::unique_ptr<BootSession> boot;
  LPC_CPLD_PPI* ppi = nullptr;

  void SetUp() override {
    BoardConfig b = boardWith({{"pcd", {{"PcdZubLpcCpldBase", "0xFE900000"}}},
                               {"cpld", {{"registers", {{"0x13", 2}, {"0x20", "0x11"}, {"0x21", "0x22"},
                                                        {"0x22", "0x33"}, {"0x23", "0x44"}}}}}});
    b.modules = {"CpldAccessPei"};
    boot = std::make_unique<BootSession>(b, PersistentState{});
    boot->start();
    boot->dispatcher().dispatchReady();
    ppi = boot->locate<LPC_CPLD_PPI>(gLpcCpldPpiGuid);
    ASSERT_NE(ppi, nullptr);
  }
  uint32_t lpcRange() { return boot->chipset().lpc.genericMemoryRange(); }
  uint32_t dmiRange() { return boot->chipset().pcr.readRegister(Pcr::kDmiPort, Pcr::kDmiLpcGenericMemoryRange); }
  const std::vector<Cpld::Access>& trace() { return boot->cpld().accesses(); }
};

TEST_F(CpldAccess, EachWidthIsOneAccessInsideAnOpenWindow) {
  UINT8 v8 = 0;
  UINT16 v16 = 0;
  UINT32 v32 = 0;
  EXPECT_EQ(ppi->CpldRead8(ppi, 0, 0x13, &v8), EFI_SUCCESS);
  EXPECT_EQ(ppi->CpldRead16(ppi, 0, 0x20, &v16), EFI_SUCCESS);
  EXPECT_EQ(ppi->CpldRead32(ppi, 0, 0x20, &v32), EFI_SUCCESS);
  EXPECT_EQ(ppi->CpldWrite16(ppi, 0, 0x10, 0x1234), EFI_SUCCESS);
  EXPECT_EQ(ppi->CpldWrite8(ppi, 0, 0x30, 0xA5), EFI_SUCCESS);
  EXPECT_EQ(ppi->CpldWrite32(ppi, 0, 0x40, 0xDEADBEEF), EFI_SUCCESS);
  EXPECT_EQ(v8, 0x02);
  EXPECT_EQ(v16, 0x2211);
  EXPECT_EQ(v32, 0x44332211u);

  struct Expected {
    uint16_t offset;
    unsigned bytes;
    uint32_t value;
    bool write;
  } expected[] = {{0x13, 1, 0x02, false},   {0x20, 2, 0x2211, false}, {0x20, 4, 0x44332211, false},
                  {0x10, 2, 0x1234, true},  {0x30, 1, 0xA5, true},    {0x40, 4, 0xDEADBEEF, true}};
  ASSERT_EQ(trace().size(), std::size(expected));
  for (size_t i = 0; i < std::size(expected); ++i) {
    const auto& a = trace()[i];
    EXPECT_EQ(a.offset, expected[i].offset) << i;
    EXPECT_EQ(a.bytes, expected[i].bytes) << i;
    EXPECT_EQ(a.value, expected[i].value) << i;
    EXPECT_EQ(a.write, expected[i].write) << i;
    EXPECT_EQ(a.lpcRange, kBase | 1) << i;
    EXPECT_EQ(a.dmiRange, kBase | 1) << i;
  }
  EXPECT_EQ(lpcRange(), 0u) << "closed between accesses";
  EXPECT_EQ(dmiRange(), 0u);
  EXPECT_EQ(boot->cpld().reg(0x10), 0x34);
  EXPECT_EQ(boot->cpld().reg(0x11), 0x12);
  const std::string& log = boot->platform().debug.log();
  EXPECT_NE(log.find("ZubLpcCpldRead Offset fe900020, Width 2, Value 0x44332211\n"), std::string::npos) << log;
}

TEST_F(CpldAccess, BadArgumentsAreRefusedBeforeAnyHardwareAccess) {
  UINT8 v8 = 0;
  UINT32 v32 = 0;
  size_t assertions = boot->platform().debug.assertions();
  EXPECT_EQ(ppi->CpldRead8(ppi, 1, 0x13, &v8), EFI_UNSUPPORTED);
  EXPECT_EQ(ppi->CpldWrite32(ppi, 7, 0x13, 1), EFI_UNSUPPORTED);
  EXPECT_EQ(boot->platform().debug.assertions(), assertions) << "an unsupported type is no assertion";
  EXPECT_EQ(ppi->CpldRead8(ppi, 0, 0x13, nullptr), EFI_INVALID_PARAMETER);
  EXPECT_EQ(ppi->CpldRead32(nullptr, 0, 0x13, &v32), EFI_INVALID_PARAMETER);
  EXPECT_EQ(ppi->CpldWrite8(nullptr, 0, 0x13, 1), EFI_INVALID_PARAMETER);
  EXPECT_EQ(boot->platform().debug.assertions(), assertions + 3);
  EXPECT_TRUE(trace().empty());
  EXPECT_EQ(lpcRange(), 0u);
  EXPECT_EQ(dmiRange(), 0u);
  const std::string& log = boot->platform().debug.log();
  EXPECT_NE(log.find("Unsupported cpld type\n"), std::string::npos);
  EXPECT_NE(log.find("Input null pointer."), std::string::npos);
}

}  // namespace
}  // namespace zub
