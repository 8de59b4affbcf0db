// The base libraries the modules link, run on the simulated board: the delay on the
// ACPI timer, the debug mask and assertions, PCD helpers.
#include <gtest/gtest.h>

#include <Library/DebugLib.h>
#include <Library/PcdLib.h>
#include <Library/TimerLib.h>

#include "Board/BoardFile.h"
#include "Board/BootSession.h"
#include "Devices/Chipset.h"

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

}  // namespace
}  // namespace zub
