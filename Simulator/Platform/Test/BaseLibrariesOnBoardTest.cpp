// The base libraries the modules link, run on the simulated board: the delay on the
// ACPI timer, the debug mask and assertions, PCD helpers.
#include <gtest/gtest.h>

#include <Library/DebugLib.h>
#include <Library/PcdLib.h>
#include <Library/TimerLib.h>

#include "Board/BoardFile.h"
#include "Board/BootSession.h"
#include "Devices/Chipset.h"
#include "Platform/DebugLogWindow.h"

namespace zub {
namespace {

struct OnBoard : ::testing::Test {
  BootSession boot{defaultBoard(), {}};
  void SetUp() override { boot.start(); }
};

TEST_F(OnBoard, MicroSecondDelaySetsUpThePmcAndWaitsOnVirtualTime) {
  EXPECT_FALSE(boot.chipset().pmc.acpiIoBase().has_value());
  for (UINTN us : {1ul, 1000ul, 200000ul, 2000000ul, 30000000ul}) {   // 30 s spans six 24-bit wraps
    uint64_t t0 = boot.machine().clock.nowNs();
    MicroSecondDelay(us);
    uint64_t waited = boot.machine().clock.nowNs() - t0;
    EXPECT_GE(waited, us * 1000) << us;
    EXPECT_LE(waited, us * 1000 + 2'100'000) << us << ": overshoot stays within two polling slices";
  }
  EXPECT_EQ(boot.chipset().pmc.acpiIoBase(), std::optional<uint16_t>(0x500));
}

TEST_F(OnBoard, DebugMessagesPassOnlyTheFixedMaskAndAssertionsGoOn) {
  DEBUG ((DEBUG_INFO, "info %a %d\n", "line", 7));
  DEBUG ((DEBUG_ERROR, "error %r\n", EFI_NOT_FOUND));
  DEBUG ((DEBUG_VERBOSE, "verbose\n"));
  DEBUG ((DEBUG_WARN | DEBUG_VERBOSE, "warn\n"));
  ASSERT (1 == 2);
  DEBUG ((DEBUG_INFO, "after the assertion\n"));
  const std::string& log = boot.platform().debug.log();
  EXPECT_NE(log.find("info line 7\n"), std::string::npos);
  EXPECT_NE(log.find("error Not Found\n"), std::string::npos);
  EXPECT_EQ(log.find("verbose\n"), std::string::npos);
  EXPECT_NE(log.find("warn\n"), std::string::npos);
  EXPECT_NE(log.find("1 == 2"), std::string::npos);
  EXPECT_NE(log.find("after the assertion\n"), std::string::npos);
  EXPECT_EQ(boot.platform().debug.assertions(), 1u);
}

TEST_F(OnBoard, PcdHelpersReachThePlatformDatabase) {
  EXPECT_EQ(PcdGet64(PcdPciExpressBaseAddress), 0x80000000ull);
  PcdSet16S(PcdZubVgaTextRow, 18);
  EXPECT_EQ(boot.platform().pcd.number(PcdZubVgaTextRow_TOKEN), 18u);
  EXPECT_STREQ(static_cast<const char*>(PcdGetPtr(PcdZubBiosCode)), "ZUB5120") << "board override";
}

struct WindowRam : MemoryDevice {
  std::vector<uint8_t> bytes = std::vector<uint8_t>(0x1000, 0xEE);
  uint64_t read(uint64_t o, unsigned n) override { return loadLe(bytes.data() + o, n); }
  void write(uint64_t o, unsigned n, uint64_t v) override { storeLe(bytes.data() + o, n, v); }
  uint8_t* hostPointer(uint64_t o, uint64_t) override { return bytes.data() + o; }
};

TEST_F(OnBoard, DebugTextGoesIntoADeclaredLogWindowUntilItIsFull) {
  WindowRam ram;
  FixedRange range(0x9FC00000, ram.bytes.size(), &ram);
  boot.machine().memory.add(&range);
  DEBUG ((DEBUG_INFO, "before any window\n"));
  PcdSet32S(PcdZubLogBufferBase, 0x9FC00000);
  PcdSet32S(PcdZubLogBufferSize, 64);   // room for 20 bytes of text
  DEBUG ((DEBUG_INFO, "unsigned header\n"));
  std::fill(ram.bytes.begin(), ram.bytes.begin() + 44, 0);
  storeLe(ram.bytes.data(), 4, kLogWindowSignature);
  storeLe(ram.bytes.data() + 12, 4, 64);
  DEBUG ((DEBUG_INFO, "first line\n"));
  DEBUG ((DEBUG_INFO, "second line is cut\n"));
  EXPECT_EQ(capturedDebugLog(ram.bytes.data(), ram.bytes.size()), std::optional<std::string>("first line\nsecond li"));
  EXPECT_EQ(ram.bytes[64], 0xEE) << "nothing beyond the window";
  ram.bytes[0] = 0;
  EXPECT_EQ(capturedDebugLog(ram.bytes.data(), ram.bytes.size()), std::nullopt);
}

}  // namespace
}  // namespace zub
