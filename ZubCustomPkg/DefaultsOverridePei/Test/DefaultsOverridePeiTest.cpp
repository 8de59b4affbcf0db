// DefaultsOverridePei on the board: the identity check, the update region, the recovery
// from the defaults file, the override sets, the flash write, the pre-reset callbacks and
// the reset, and the next boot that finds the new identity.
#include <gtest/gtest.h>

#include "DefaultsBoard.h"
#include "OverrideOracle.h"
#include "Platform/SetupDefaults.h"

namespace zub::defaultstest {
namespace {

constexpr uint32_t kStoreBase = 0xFF000000u + kNvramStoreOffset;   // 16 MB BIOS region

nlohmann::json identityStore(unsigned oem, unsigned custom, unsigned hw) {
  return {{"identity", {{"oem_flag", oem}, {"custom_id", custom}, {"hw_type", hw}}}};
}

// What the module must leave in each setup variable: the pristine defaults (0xA5), the new
// identity, then the hardware set and the customer set in their order.
std::map<std::string, std::vector<uint8_t>> expectedDefaults(const Identity& id, unsigned hwType) {
  std::map<std::string, std::vector<uint8_t>> vars;
  for (const auto& v : setupDefaultVariables()) vars[v.name].assign(v.size, 0xA5);
  vars["ZubCustomInfo"].assign(8, 0);
  vars["ZubCustomInfo"][0] = uint8_t(id.oemFlag), vars["ZubCustomInfo"][1] = uint8_t(id.customId);
  vars["ZubCustomInfo"][2] = uint8_t(hwType);
  auto items = setupItems();
  auto apply = [&](const std::map<unsigned, std::string>& sets, unsigned key) {
    auto it = sets.find(key);
    if (it == sets.end()) return;
    for (auto [setupId, value] : expandSet(it->second)) vars[items.at(setupId).variable].at(items[setupId].offset) = value;
  };
  apply(hardwareSets(), hwType);
  apply(customerSets(), id.customId);
  return vars;
}

TEST(DefaultsOverridePei, TheOverrideDataSpelledTwiceAgree) {
  EXPECT_EQ(setupItems().size(), 260u);
  const std::map<unsigned, size_t> counts = {{1, 55}, {2, 2}, {3, 12}, {8, 19}, {10, 3}, {12, 44}};
  for (auto [id, n] : counts) EXPECT_EQ(expandSet(customerSets().at(id)).size(), n) << id;
  for (auto& [hw, text] : hardwareSets()) EXPECT_EQ(expandSet(text).size(), 28u) << hw;
}

TEST(DefaultsOverridePei, StoredIdentityEqualToTheNewOneTouchesNothing) {
  DefaultsBoot b(defaultsBoard(identityStore(2, 3, 0), {2, 3}));
  size_t poolBefore = b.boot.core().pool().used();
  b.run();
  EXPECT_EQ(b.result.end, BootEndKind::Completed);
  EXPECT_TRUE(b.logged("DefaultsOverridePeiEntryNotify --- start\n"));
  EXPECT_TRUE(b.logged("CUSTOM INFO OLD: OemFlag(2) CustomId(3) HwType(0)\n"));
  EXPECT_TRUE(b.logged("CUSTOM INFO NEW: OemFlag(2) CustomId(3) HwType(0)\n"));
  EXPECT_TRUE(b.logged("Custom info all match, just return\n"));
  EXPECT_TRUE(b.flashOps().empty());
  EXPECT_EQ(b.boot.core().pool().used(), poolBefore) << "no pool allocation";
  EXPECT_TRUE(b.boot.nvram().preResetCallbacks().calls().empty());
}

TEST(DefaultsOverridePei, AResetRequestResetsWithoutWritingAndCallsEveryPreResetCallback) {
  DefaultsBoot b(defaultsBoard(identityStore(0, 0, 0), {0, 0, 0, 7}, {{"pre_reset_callbacks", 3}}));
  b.run();
  EXPECT_EQ(b.result.end, BootEndKind::ColdReset);
  EXPECT_TRUE(b.flashOps().empty());
  EXPECT_TRUE(b.logged("System Reset For Setup Default Data Override 0 7 !\n"));
  using Calls = std::vector<std::pair<size_t, uint64_t>>;
  EXPECT_EQ(b.boot.nvram().preResetCallbacks().calls(), (Calls{{0, 0}, {1, 0}, {2, 0}}));
  std::string banner = std::string(30, '*') + "\n**    SYSTEM REBOOT !!!     **\n" + std::string(30, '*') +
                       "\n TYPE OF RESET: 0 \n";
  EXPECT_TRUE(b.logged(banner));
  // The callbacks run before the reset; the reset is the last thing the module does.
  const auto& ev = b.boot.events().events();
  auto at = [&](const char* type) {
    return std::find_if(ev.begin(), ev.end(), [&](const nlohmann::json& e) { return e["event"] == type; }) - ev.begin();
  };
  EXPECT_LT(at("pre_reset_callback"), at("boot_end"));
  EXPECT_NE(b.result.detail.find("0x0E"), std::string::npos) << b.result.detail;
}

TEST(DefaultsOverridePei, ANewIdentityWithoutOverridesRewritesTheIdentityResetsAndTheNextBootMatches) {
  BoardConfig board = defaultsBoard(identityStore(0, 0, 0), {1, 0});
  DefaultsBoot first(board);
  std::vector<uint8_t> before = first.flash();
  first.run();
  EXPECT_EQ(first.result.end, BootEndKind::ColdReset);
  EXPECT_TRUE(first.logged("No override setup data, no need to update.\n"));
  EXPECT_TRUE(first.logged("System Reset For Setup Default Data Override 1 0 !\n"));
  EXPECT_TRUE(first.logged("<End>: Successfully update setup Defaults.bin data in spi flash\n"));
  EXPECT_EQ(first.boot.nvram().preResetCallbacks().calls().size(), 2u);
  std::vector<uint8_t> after = first.flash();
  // Only the OEM flag byte changed, anywhere in the flash.
  std::vector<size_t> changed;
  for (size_t i = 0; i < after.size(); ++i)
    if (after[i] != before[i]) changed.push_back(i);
  ASSERT_EQ(changed.size(), 1u);
  EXPECT_EQ(defaultData(after, "ZubCustomInfo"), (std::vector<uint8_t>{1, 0, 0, 0, 0, 0, 0, 0}));

  DefaultsBoot second(board, first.boot.stateAfter());
  second.run();
  EXPECT_EQ(second.result.end, BootEndKind::Completed);
  EXPECT_TRUE(second.logged("Custom info all match, just return\n"));
  EXPECT_TRUE(second.flashOps().empty());
}

TEST(DefaultsOverridePei, HardwareKeysMapToTheirTypes) {
  const std::pair<uint32_t, unsigned> keys[] = {{0x30055004, 9},  {0x01051104, 14}, {0x01051134, 14},
                                                {0x01051304, 14}, {0x01051334, 14}, {0x02053404, 15},
                                                {0x30055005, 0}};
  for (auto [key, type] : keys) {
    // Stored identity 0xFF: every key differs from it, so the type is written.
    DefaultsBoot b(defaultsBoard(identityStore(0xFF, 0, 0xFF), {0, 0, key}));
    b.run();
    EXPECT_EQ(b.result.end, BootEndKind::ColdReset) << std::hex << key;
    EXPECT_EQ(defaultData(b.flash(), "ZubCustomInfo")->at(2), type) << std::hex << key;
  }
}

// Every entry of every set, applied in order, the customer set after the hardware set.
TEST(DefaultsOverridePei, OverrideSetsLandWhereTheSetupItemsPointCustomerSetLast) {
  struct Case {
    Identity id;
    unsigned hwType;
  } cases[] = {
      {{0, 0, 0x30055004}, 9}, {{0, 0, 0x01051104}, 14}, {{0, 0, 0x02053404}, 15}, {{1, 1}, 0},
      {{0, 2}, 0},             {{0, 3}, 0},              {{0, 8}, 0},              {{0, 10}, 0},
      {{0, 12}, 0},            {{5, 12, 0x30055004}, 9}, {{0, 1, 0x01051334}, 14}, {{0, 7, 0x30055004}, 9},
  };
  for (const auto& c : cases) {
    DefaultsBoot b(defaultsBoard(identityStore(0xFF, 0xFF, 0xFF), c.id));
    b.run();
    std::string name = "oem " + std::to_string(c.id.oemFlag) + " customer " + std::to_string(c.id.customId) +
                       " hw " + std::to_string(c.hwType);
    ASSERT_EQ(b.result.end, BootEndKind::ColdReset) << name;
    for (const auto& [var, bytes] : expectedDefaults(c.id, c.hwType)) {
      auto got = defaultData(b.flash(), var);
      ASSERT_TRUE(got) << name << " " << var;
      EXPECT_EQ(*got, bytes) << name << " " << var;
    }
  }
}

TEST(DefaultsOverridePei, HardwareSetNineThenCustomerTwelveEndsAtZero) {
  DefaultsBoot b(defaultsBoard(identityStore(0, 0, 0), {0, 12, 0x30055004}));
  b.run();
  auto iio = *defaultData(b.flash(), "SocketIioConfig");
  for (unsigned offset : {3423u, 3424u, 3427u, 3429u, 3430u}) EXPECT_EQ(iio[offset], 0) << offset;
  EXPECT_EQ(iio[3459], 1) << "SetupId 97: the hardware set's alone";
  EXPECT_TRUE(b.logged("OEMFlag:0 CustomID:12 ValNum:28\n"));
  EXPECT_TRUE(b.logged("OEMFlag:0 CustomID:12 ValNum:44\n"));
}

}  // namespace
}  // namespace zub::defaultstest
