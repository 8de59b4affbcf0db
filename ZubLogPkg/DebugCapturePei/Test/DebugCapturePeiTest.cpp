// The PEI debug-log window on the board: options into PCDs and CMOS, the time stamp from
// the clock, the window header, the text the platform writes after it, the hand-over HOB.
#include <gtest/gtest.h>

#include <Ppi/ZubLog.h>
#include <ZubPcdTokens.h>

#include "Board/BoardFile.h"
#include "Board/BootSession.h"
#include "Devices/Chipset.h"
#include "Platform/DebugLogWindow.h"

namespace zub {
namespace {

constexpr uint64_t kWindow = 0x9FC00000;

struct Ram : MemoryDevice {
  std::vector<uint8_t> bytes = std::vector<uint8_t>(0x100000, 0xEE);
  uint64_t read(uint64_t o, unsigned n) override { return loadLe(bytes.data() + o, n); }
  void write(uint64_t o, unsigned n, uint64_t v) override { storeLe(bytes.data() + o, n, v); }
  uint8_t* hostPointer(uint64_t o, uint64_t) override { return bytes.data() + o; }
};

struct Capture : ::testing::Test {
  Ram ram;
  FixedRange range{kWindow, ram.bytes.size(), &ram};
  std::unique_ptr<BootSession> boot;

  void start(nlohmann::json changes) {
    changes["firmware"] = {{"modules", {"DebugCapturePei"}}};
    boot = std::make_unique<BootSession>(boardWith(changes), PersistentState{});
    boot->machine().memory.add(&range);
    boot->start();
    ASSERT_EQ(boot->dispatcher().dispatch("DebugCapturePei"), EFI_SUCCESS);
  }
  nlohmann::json miscCfg(int byte0) {
    return {{"name", "ZubMiscCfg"}, {"guid", "986D218B-E515-4A94-9425-53919091A4E6"},
            {"data", {byte0, 7, 0, 0, 9, 0, 0, 0, 0, 0, 0}}};
  }
  uint64_t pcd(uint32_t t) { return boot->platform().pcd.number(t); }
  const std::string& log() { return boot->platform().debug.log(); }
};

TEST_F(Capture, TimeStampFromTheClockInPcdsHeaderAndBanner) {
  start({{"rtc", {{"time", "2021-03-01 13:05:09"}}}, {"nvram", {miscCfg(5)}}});
  EXPECT_EQ(pcd(PcdZubLogDate_TOKEN), 0x07E50301u);
  EXPECT_EQ(pcd(PcdZubLogTime_TOKEN), 0x000D0509u);
  auto* ppi = boot->locate<ZUB_LOG_PPI>(gZubLogPpiGuid);
  ASSERT_NE(ppi, nullptr);
  ASSERT_EQ(ppi->SetLogRange(ppi, kWindow, 0x100000), EFI_SUCCESS);
  std::vector<uint8_t> expected = {0x62, 0xF8, 0xAE, 0x1B, 0, 0, 0, 0, 0x00, 0x00, 0xC0, 0x9F, 0x00, 0x00, 0x10, 0x00,
                                   0x01, 0x03, 0xE5, 0x07, 0x09, 0x05, 0x0D, 0x00};
  expected.resize(44, 0);
  // The header's second word counts what the platform's debug output wrote after it.
  std::vector<uint8_t> header(ram.bytes.begin(), ram.bytes.begin() + 44);
  header[4] = header[5] = header[6] = header[7] = 0;
  EXPECT_EQ(header, expected);
  auto text = capturedDebugLog(ram.bytes.data(), ram.bytes.size());
  ASSERT_TRUE(text.has_value());
  EXPECT_EQ(text->rfind("<< ZUB PEI debug log record begin >>\n", 0), 0u) << *text;
  EXPECT_NE(text->find("Time stamp from CMOS: 2021/03/01 13:05:09\n"), std::string::npos);
  EXPECT_EQ(pcd(PcdZubLogBufferBase_TOKEN), kWindow);
  EXPECT_EQ(pcd(PcdZubLogBufferSize_TOKEN), 0x100000u);
}

TEST_F(Capture, OptionsGoToPcdsAndCmosBitsKeepTheirNeighbours) {
  for (auto [byte0, bits] : {std::pair{5, 0x01}, std::pair{0, 0x02}}) {
    start({{"nvram", {miscCfg(byte0)}}, {"cmos", {{"upper", {{"0x54", "0xC3"}}}}}});
    EXPECT_EQ(boot->chipset().cmos.byte(0xD4), 0xC0 | bits) << byte0;
    EXPECT_EQ(pcd(PcdZubMiscCfg0_TOKEN), uint64_t(byte0));
    EXPECT_EQ(pcd(PcdZubMiscCfg1_TOKEN), 7u);
    EXPECT_EQ(pcd(PcdZubMiscCfg4_TOKEN), 9u);
    auto* ppi = boot->locate<ZUB_LOG_PPI>(gZubLogPpiGuid);
    ppi->SetLogRange(ppi, kWindow, 0x100000);
    EXPECT_EQ(boot->chipset().cmos.byte(0xD4), 0xC0 | bits) << "bit 6 was already set";
  }
  start({{"cmos", {{"upper", {{"0x54", "0x01"}}}}}, {"nvram", nlohmann::json::array()}});
  EXPECT_NE(log().find("Failed to get ZubMiscCfg variable Not Found\n"), std::string::npos);
  EXPECT_EQ(boot->chipset().cmos.byte(0xD4), 0x01) << "options skipped";
}

TEST_F(Capture, TheHandOverHobCarriesTheWindowOrTheDefaults) {
  for (bool declare : {true, false}) {
    start({{"rtc", {{"time", "2021-03-01 13:05:09"}}}});
    if (declare) {
      auto* ppi = boot->locate<ZUB_LOG_PPI>(gZubLogPpiGuid);
      ppi->SetLogRange(ppi, kWindow, 0x100000);
    }
    boot->finishPei();
    nlohmann::json summary = boot->summary(), hob;
    for (const auto& h : summary["hobs"])
      if (h.value("length", 0) == 40 && h.contains("name") && h["name"] == "gZubLogHobGuid") hob = h;
    ASSERT_FALSE(hob.is_null()) << declare;
    EXPECT_EQ(hob["data"], declare ? "00 00 C0 9F 00 00 10 00 01 03 E5 07 09 05 0D 00"
                                   : "00 00 00 00 00 00 00 00 01 03 E5 07 09 05 0D 00");
    EXPECT_NE(log().find("ZubLogEndOfPEI proc\n"), std::string::npos);
  }
}

TEST_F(Capture, AClockThatCannotBeReadStampsZeros) {
  start({{"rtc", {{"register_d", 0}}}});
  EXPECT_EQ(pcd(PcdZubLogDate_TOKEN), 0u);
  EXPECT_EQ(pcd(PcdZubLogTime_TOKEN), 0u);
  EXPECT_NE(log().find("Time stamp from CMOS: 0000/00/00 00:00:00\n"), std::string::npos);
}

}  // namespace
}  // namespace zub
