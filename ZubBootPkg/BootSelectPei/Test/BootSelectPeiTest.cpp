// The boot mode decision on the board: NVRAM, the recovery variable, the BMC's OEM
// configuration and boot flags, the set-in-progress wait and the eVORT retries.
#include <gtest/gtest.h>

#include <ZubPcdTokens.h>

#include "Board/BoardFile.h"
#include "Board/BootSession.h"

namespace zub {
namespace {

const char* kFixedBootPriorities = "0C923CA9-DF73-4AC8-B6D2-98DDC30D99FC";
const char* kRecovery = "D60D9108-C911-4FDE-8D35-228C67854C01";

struct Inputs {
  int stored = 1;            // FixedBootPriorities byte 1; -1: variable absent
  int recovery = -1;         // ZubRecoveryBootMode; -1: absent
  BmcBootOptions bmc;
  int evort = 0;             // PcdZubEvortEnable
  bool bmcPresent = true;
};

struct Outcome {
  uint64_t bootMode, toSetup;
  std::vector<uint8_t> flags;
  std::string log;
  uint64_t virtualNs;
  size_t requests;
};

Outcome run(const Inputs& s) {
  nlohmann::json nvram = nlohmann::json::array();
  if (s.stored >= 0) {
    std::vector<int> data(66, 0);
    data[1] = s.stored;
    nvram.push_back({{"name", "FixedBootPriorities"}, {"guid", kFixedBootPriorities}, {"data", data}});
  }
  if (s.recovery >= 0) nvram.push_back({{"name", "ZubRecoveryBootMode"}, {"guid", kRecovery}, {"data", {s.recovery}}});
  BoardConfig b = boardWith({{"nvram", nvram}, {"pcd", {{"PcdZubEvortEnable", s.evort}}},
                             {"bmc", {{"present", s.bmcPresent}}}});
  b.modules = {"IpmiRelayPei", "BootSelectPei"};
  b.dispatchOrder = b.modules;
  b.bmcBootOptions = s.bmc;
  BootSession boot(b, {});
  boot.run();
  auto& pcd = boot.platform().pcd;
  return {pcd.number(PcdZubBootMode_TOKEN), pcd.number(PcdZubBootToSetup_TOKEN),
          std::vector<uint8_t>(pcd.bytes(PcdZubIpmiBootFlags_TOKEN).begin(), pcd.bytes(PcdZubIpmiBootFlags_TOKEN).end()),
          boot.platform().debug.log(), boot.machine().clock.nowNs(), boot.events().ofType("ipmi_request").size()};
}

BmcBootOptions bmcSays(uint8_t flag, uint8_t mode, uint8_t data1, uint8_t data2 = 0, uint8_t ack = 0) {
  BmcBootOptions o;
  o.oemFlag = flag, o.oemBootMode = mode, o.acknowledge = ack;
  o.bootFlags[0] = data1, o.bootFlags[1] = data2;
  return o;
}

TEST(BootSelectPei, DecisionTable) {
  struct Case {
    const char* name;
    Inputs setup;
    uint64_t mode;
  } cases[] = {
      {"stored UEFI, BMC absent", {1, -1, {}, 0, false}, 1},
      {"recovery overrides the stored mode", {1, 0, bmcSays(0, 2, 0x80)}, 0},
      {"OEM UEFI with valid flags wins over recovery", {1, 0, bmcSays(0x01, 2, 0x80)}, 1},
      {"OEM flag clear: recovery stays", {1, 0, bmcSays(0x00, 2, 0x80)}, 0},
      {"boot flags not valid: OEM ignored", {0, -1, bmcSays(0x01, 2, 0x20)}, 0},
      {"OEM legacy", {1, -1, bmcSays(0x01, 1, 0xA0)}, 0},
      {"OEM mode 3 changes nothing", {1, -1, bmcSays(0x01, 3, 0x80)}, 1},
  };
  for (const auto& c : cases) {
    Outcome o = run(c.setup);
    EXPECT_EQ(o.bootMode, c.mode) << c.name;
    EXPECT_NE(o.log.find("Set PcdZubBootMode to " + std::to_string(c.mode) + "\n"), std::string::npos) << c.name;
  }
  EXPECT_NE(run({1, -1, bmcSays(0x01, 3, 0x80)}).log.find("IPMI Current BootMode(2 UEFI, 1 LEGACY) 3\n"),
            std::string::npos);
}

TEST(BootSelectPei, WithoutFixedBootPrioritiesNothingIsSetAndNoIpmiIsSent) {
  Outcome o = run({-1, 1, bmcSays(0x01, 1, 0x80)});
  EXPECT_NE(o.log.find("Get setup variable Not Found\n"), std::string::npos);
  EXPECT_EQ(o.bootMode, 0u);
  EXPECT_EQ(o.requests, 0u);
}

TEST(BootSelectPei, BootToSetupOnlyForAOneTimeSetupRequest) {
  EXPECT_EQ(run({1, -1, bmcSays(0, 0, 0x80, 0x18)}).toSetup, 1u);
  EXPECT_EQ(run({1, -1, bmcSays(0, 0, 0xC0, 0x18)}).toSetup, 0u) << "persistent";
  EXPECT_EQ(run({1, -1, bmcSays(0, 0, 0x80, 0x14)}).toSetup, 0u) << "another device";
}

TEST(BootSelectPei, StoredBootFlagsCarryTheDecidedMode) {
  Outcome o = run({1, -1, bmcSays(0, 0, 0x80, 0x18, /*ack=*/0x02)});   // acknowledge says: not for the BIOS
  EXPECT_EQ(o.flags, (std::vector<uint8_t>{0, 0, 0, 0x20, 0, 0, 0, 0}));
  o = run({0, -1, bmcSays(0, 0, 0xA0, 0x18)});
  EXPECT_EQ(o.flags, (std::vector<uint8_t>{0x00, 0x01, 0x05, 0x80, 0x18, 0, 0, 0}));
}

TEST(BootSelectPei, SetInProgressThatNeverClearsTimesOutOnVirtualTime) {
  BmcBootOptions busy = bmcSays(0x01, 1, 0x80);
  busy.setInProgressPolls = 1000;
  Outcome o = run({1, -1, busy});
  EXPECT_NE(o.log.find("GetIpmiBootMode Time out, BootMode = 1\n"), std::string::npos);
  EXPECT_EQ(o.bootMode, 1u);
  EXPECT_GE(o.virtualNs, 10'000'000u) << "ten 1 ms waits";
  busy.setInProgressPolls = 9;   // clears on the last poll
  EXPECT_EQ(run({1, -1, busy}).bootMode, 0u);
}

TEST(BootSelectPei, EvortRetriesTwentyFiveTimesTwoHundredMillisecondsApart) {
  Inputs s{1, -1, bmcSays(0, 0, 0)};
  s.evort = 1;
  s.bmc.evortFailures = 3;
  Outcome o = run(s);
  EXPECT_NE(o.log.find("Send eVORT Cmd To Qmb RetryCnt = 3, Status = Success\n"), std::string::npos);
  s.bmc.evortFailures = 100;
  o = run(s);
  EXPECT_NE(o.log.find("Send eVORT Cmd To Qmb RetryCnt = 18, Status = Device Error\n"), std::string::npos);
  EXPECT_EQ(o.log.find("RetryCnt = 19,"), std::string::npos) << "25 tries, counted in hexadecimal";
  EXPECT_NE(o.log.find("Send eVORT command(eVORTStatus:0) to BMC: Device Error\n"), std::string::npos);
  EXPECT_GE(o.virtualNs, 5'000'000'000u);
  s.evort = 2;
  EXPECT_EQ(run(s).log.find("eVORT"), std::string::npos);
}

}  // namespace
}  // namespace zub
