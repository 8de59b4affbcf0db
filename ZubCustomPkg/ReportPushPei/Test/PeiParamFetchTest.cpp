// The BMC parameter fetch: retries on virtual time, the dump, and the PCDs published from
// the board BMC's block.
#include <gtest/gtest.h>

#include "ReportPushBoot.h"

namespace zub {
namespace {

using test::ReportPushBoot;

nlohmann::json param(nlohmann::json fields) {
  nlohmann::json base = {{"dedicated_ipv4", "10.0.0.5"}, {"dedicated_ipv6", "fd00::5"}, {"share_ipv4", "10.0.1.5"},
                         {"share_ipv6", "fd00:1::5"},   {"xdragon_slot", "0x1A"},      {"moc15_slot", "0x2B"}};
  base.update(fields);
  return {{"bmc", {{"pei_param", base}}}};
}

TEST(PeiParamFetch, OemFlagBelowThreeIsKeptAboveItCheckAreaPlus30) {
  struct Case {
    uint32_t oemFlag, checkArea, stored;
  } cases[] = {{0, 5, 0}, {2, 5, 2}, {3, 5, 35}, {7, 0, 30}, {3, 250, 24}};
  for (const auto& c : cases) {
    ReportPushBoot r(param({{"oem_flag", c.oemFlag}, {"check_area", c.checkArea}, {"custom_id", 0x1FF},
                            {"force_clean_logo_cache", 1}}));
    EXPECT_EQ(r.pcdNumber(PcdZubOemFlag_TOKEN), c.stored) << c.oemFlag << " " << c.checkArea;
    EXPECT_EQ(r.pcdNumber(PcdZubCustomId_TOKEN), 0xFFu) << "low 8 bits";
    EXPECT_EQ(r.pcdNumber(PcdZubForceCleanLogoCache_TOKEN), 1u);
    char line[32];
    std::snprintf(line, sizeof line, "OemFlag: %u\nCheckArea: %u\n", c.oemFlag, c.checkArea);
    EXPECT_EQ(r.count(line), 1u);
  }
}

TEST(PeiParamFetch, NetIfModeDecidesSharedAddressesAndTheirDumpLines) {
  struct Case {
    uint32_t mode;
    bool dedicatedOnly, sharedStored, sharedShown;
  } cases[] = {{0, false, true, true}, {1, true, false, false}, {2, false, true, false}};
  for (const auto& c : cases) {
    ReportPushBoot r(param({{"net_if_mode", c.mode}}));
    EXPECT_EQ(r.pcdText(PcdZubBmcDedicatedIpv4_TOKEN), "10.0.0.5");
    EXPECT_EQ(r.pcdText(PcdZubBmcDedicatedIpv6_TOKEN), "fd00::5");
    EXPECT_EQ(r.pcdNumber(PcdZubBmcDedicatedOnly_TOKEN), c.dedicatedOnly ? 1u : 0u) << c.mode;
    EXPECT_EQ(r.pcdText(PcdZubBmcShareIpv4_TOKEN), c.sharedStored ? "10.0.1.5" : "") << c.mode;
    EXPECT_EQ(r.pcdText(PcdZubBmcShareIpv6_TOKEN), c.sharedStored ? "fd00:1::5" : "") << c.mode;
    EXPECT_EQ(r.count("ShareIPv4Addr: <10.0.1.5>\nShareIPv6Addr: <fd00:1::5>\n"), c.sharedShown ? 1u : 0u);
    EXPECT_EQ(r.count("DedicatedIPv4Addr: <10.0.0.5>\nDedicatedIPv6Addr: <fd00::5>\n"), 1u);
  }
}

TEST(PeiParamFetch, SlotsAreTakenOnlyWhenTheAnswerCoversThem) {
  struct Case {
    uint32_t length;
    uint64_t xDragon, moc15;
  } cases[] = {{180, 0, 0}, {184, 0x1A, 0}, {188, 0x1A, 0x2B}};
  for (const auto& c : cases) {
    ReportPushBoot r(param({{"data_length", c.length}}));
    EXPECT_EQ(r.count("PEI PARAM DataLen=" + std::to_string(c.length) + "\n"), 1u);
    EXPECT_EQ(r.pcdNumber(PcdZubXDragonSlot_TOKEN), c.xDragon) << c.length;
    EXPECT_EQ(r.pcdNumber(PcdZubMoc15Slot_TOKEN), c.moc15) << c.length;
    // Bytes the BMC did not answer read as zero, whatever the answer area held before.
    EXPECT_EQ(r.count(std::string("XDragonSlot: ") + (c.length >= 184 ? "1a" : "0") + "\nMoc15Slot: " +
                      (c.length >= 188 ? "2b" : "0") + "\n"),
              1u)
        << r.log();
  }
}

TEST(PeiParamFetch, AStringFillingItsFieldIsCutAtTheFieldAndAnEmptyOneIsItsNul) {
  ReportPushBoot r(param({{"dedicated_ipv4", "123.123.123.1234"}, {"share_ipv4", ""}}));
  EXPECT_EQ(r.count("DedicatedIPv4Addr: <123.123.123.1234>\n"), 1u) << r.log();
  EXPECT_EQ(r.count("ShareIPv4Addr: <>\n"), 1u);
  EXPECT_EQ(r.boot.platform().pcd.size(PcdZubBmcShareIpv4_TOKEN), 1u);
}

TEST(PeiParamFetch, RetriesTwoSecondsApartOnVirtualTimeThenWarning1003) {
  struct Case {
    uint32_t failedTries;   // each try is five triggers
    bool fetched;
  } cases[] = {{0, true}, {2, true}, {10, false}};
  for (const auto& c : cases) {
    ReportPushBoot r(nlohmann::json{{"bmc", {{"quick_transfer", {{"fail_first_triggers", c.failedTries * 5}}},
                                             {"pei_param", {{"oem_flag", 2}}}}}});
    EXPECT_EQ(r.count("Failed to get pei param i="), c.failedTries);
    for (uint32_t i = 0; i < c.failedTries; ++i)
      EXPECT_EQ(r.count("Failed to get pei param i=" + std::to_string(i) + " Device Error, now retry...\n"), 1u);
    uint64_t ns = r.boot.machine().clock.nowNs();
    EXPECT_GE(ns, c.failedTries * 2'000'000'000ull);
    EXPECT_LT(ns, c.failedTries * 2'000'000'000ull + 500'000'000ull);
    EXPECT_EQ(r.count("======= BMC PEI PARAM DUMP ======="), c.fetched ? 1u : 0u);
    EXPECT_EQ(r.pcdNumber(PcdZubOemFlag_TOKEN), c.fetched ? 2u : 0u);
    size_t warnings = 0;
    for (const auto& e : r.boot.events().ofType("status_code"))
      if (e["value"] == "0xFFFFFFFF" && e["type"] == "0x00000001" && e["data"] == "03 10 00 00") ++warnings;
    EXPECT_EQ(warnings, c.fetched ? 0u : 1u);
  }
}

}  // namespace
}  // namespace zub
