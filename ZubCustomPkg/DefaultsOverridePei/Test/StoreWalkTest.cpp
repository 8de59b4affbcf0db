// The module's walks of the NVRAM store and of the nested store, and the update region,
// on stores the board builds record by record, hostile ones included.
#include <gtest/gtest.h>

#include <cstring>

#include <Guid/NvramStore.h>

#include "DefaultsBoard.h"

namespace zub::defaultstest {
namespace {

constexpr uint32_t kStoreBase = 0xFF000000u + kNvramStoreOffset;

nlohmann::json customInfo(std::vector<int> bytes = {0, 0, 0, 0, 0, 0, 0, 0}) {
  return {{"name", "ZubCustomInfo"}, {"guid_index", 1}, {"data", bytes}};
}
nlohmann::json stdDefaults(nlohmann::json nested, nlohmann::json more = nlohmann::json::object()) {
  nlohmann::json r = {{"name", "StdDefaults"}, {"nested", nested}};
  r.update(more);
  return r;
}
nlohmann::json records(nlohmann::json list) { return {{"records", list}}; }

TEST(DefaultsOverridePeiStore, RegionOfARecordOffTheBlockBoundaryCoversWholeBlocks) {
  // "StdDefaults" at store offset 0x2345 with Size 0x1800: a 23-byte header and name,
  // ZubCustomInfo (33 bytes) and a data-only record of 6088 bytes.
  nlohmann::json nested = {customInfo(), {{"data_only", true}, {"data_size", 6078}}};
  DefaultsBoot b(defaultsBoard(records({{{"name", "Setup"}, {"data_size", 100}},
                                        stdDefaults(nested, {{"offset", 0x2345}})}),
                               {0, 3}));
  b.run();
  EXPECT_TRUE(b.logged("Find StdDefaults at FF802345  nest:FF80235C\n")) << b.log();
  EXPECT_TRUE(b.logged("NvramAddress:0xFF800000 pStdNvar:0xFF802345 Offset:0\n"));
  EXPECT_TRUE(b.logged("Offset is NOT 4KB align, align to 8192\n"));
  EXPECT_TRUE(b.logged("Flash area to update Offset from NVRAM ADDR:8192  size:8192\n"));
  EXPECT_TRUE(b.logged("Update Region: [0xFF802000 ~ 0xFF804000]\n"));
  auto ops = b.flashOps();
  ASSERT_EQ(ops.size(), 2u);
  EXPECT_EQ(ops[0]["event"], "flash_erase");
  EXPECT_EQ(ops[0]["offset"], hex32(kNvramStoreOffset + 0x2000));
  EXPECT_EQ(ops[0]["bytes"], 0x2000);
  EXPECT_EQ(ops[1]["event"], "flash_write");
  EXPECT_EQ(ops[1]["bytes"], 0x2000);
  EXPECT_EQ(ops[1]["offset"], hex32(kNvramStoreOffset + 0x2000));
  EXPECT_EQ(defaultData(b.flash(), "ZubCustomInfo")->at(1), 3);
}

TEST(DefaultsOverridePeiStore, RegionOfARecordOnABlockBoundaryIsThatBlock) {
  nlohmann::json nested = {customInfo(), {{"data_only", true}, {"data_size", 4096 - 23 - 33 - 10}}};
  DefaultsBoot b(defaultsBoard(records({{{"name", "Setup"}, {"data_size", 100}}, stdDefaults(nested, {{"offset", 0x3000}})}),
                               {0, 3}));
  b.run();
  EXPECT_FALSE(b.logged("Offset is NOT 4KB align"));
  EXPECT_TRUE(b.logged("Flash area to update Offset from NVRAM ADDR:12288  size:4096\n"));
  auto ops = b.flashOps();
  ASSERT_EQ(ops.size(), 2u);
  EXPECT_EQ(ops[0]["offset"], hex32(kNvramStoreOffset + 0x3000));
  EXPECT_EQ(ops[0]["bytes"], 0x1000);
}

TEST(DefaultsOverridePeiStore, TheNewestVersionAtTheEndOfTheChainIsUsed) {
  nlohmann::json old = stdDefaults({customInfo({9, 9, 9, 0, 0, 0, 0, 0})}, {{"next_record", 2}});
  nlohmann::json newer = stdDefaults({customInfo()});
  DefaultsBoot b(defaultsBoard(records({old, {{"name", "Lang"}, {"data", "01"}}, newer}), {0, 0}));
  b.run();
  EXPECT_EQ(b.result.end, BootEndKind::Completed);
  EXPECT_TRUE(b.logged("CUSTOM INFO OLD: OemFlag(0) CustomId(0) HwType(0)\n"));
}

TEST(DefaultsOverridePeiStore, LaterMatchingNestedRecordsReplaceEarlierOnesAndOthersDoNotMatch) {
  nlohmann::json nested = {
      customInfo({7, 7, 7, 0, 0, 0, 0, 0}),
      customInfo({1, 2, 0, 0, 0, 0, 0, 0}),
      {{"name", "ZubCustomInfo"}, {"ucs2", true}, {"data", {5, 5, 5, 0, 0, 0, 0, 0}}},       // UCS-2: never matches
      {{"name", "ZubCustomInfo"}, {"data", {6, 6, 6, 0, 0, 0, 0}}},                        // 7 bytes: not it
      {{"name", "ZubCustomInfo"}, {"guid", "01234567-89AB-CDEF-0123-456789ABCDEF"}, {"data", {4, 0, 0, 0, 0, 0, 0, 0}}},
  };
  DefaultsBoot b(defaultsBoard(records({stdDefaults(nested)}), {4, 0}));
  b.run();
  EXPECT_TRUE(b.logged("CUSTOM INFO OLD: OemFlag(4) CustomId(0) HwType(0)\n")) << "the GUID field plays no part";
  EXPECT_EQ(b.result.end, BootEndKind::Completed);
}

TEST(DefaultsOverridePeiStore, AVariableOfTheWrongSizeCountsAsAbsent) {
  nlohmann::json nested = {customInfo(), {{"name", "SocketCommonRcConfig"}, {"data_size", 58}}};
  DefaultsBoot b(defaultsBoard(records({stdDefaults(nested)}), {0, 10}));
  b.run();
  EXPECT_TRUE(b.logged("VAR ID 15 <SocketCommonRcConfig> NOT found in NVRAM\n"));
  EXPECT_TRUE(b.logged("VARID:15  NVRAM ADDR:0x00000000  <SocketCommonRcConfig>\n"));
  EXPECT_EQ(b.result.end, BootEndKind::ColdReset) << "the rest of the update goes on";
}

// Stores that come out of flash damaged: every walk stays inside its store, the boot goes
// on, nothing is written, nothing is reset.
TEST(DefaultsOverridePeiStore, HostileStoresAreRefusedInsideTheirBounds) {
  struct Case {
    const char* name;
    nlohmann::json store;
    const char* says;
  } cases[] = {
      {"nested record of Size 0 before ZubCustomInfo",
       records({stdDefaults({{{"name", "Setup"}, {"data_size", 4}, {"size", 0}}, customInfo()})}),
       "ZUB CUSTOM INFO NOT FOUND\n"},
      {"nested record running past the nested store",
       records({stdDefaults({{{"name", "Setup"}, {"data_size", 4}, {"size", 0x3000}}, customInfo()})}),
       "ZUB CUSTOM INFO NOT FOUND\n"},
      {"nested record shorter than its header",
       records({stdDefaults({{{"name", "Setup"}, {"data_size", 4}, {"size", 3}}, customInfo()})}),
       "ZUB CUSTOM INFO NOT FOUND\n"},
      {"ZubCustomInfo without the terminator of its name",
       records({stdDefaults({{{"name", "ZubCustomInfo"}, {"unterminated_name", true}}})}),
       "ZUB CUSTOM INFO NOT FOUND\n"},
      {"an invalid record ends the nested walk",
       records({stdDefaults({{{"name", "Setup"}, {"data_size", 4}, {"valid", false}}, customInfo()})}),
       "ZUB CUSTOM INFO NOT FOUND\n"},
      {"StdDefaults of Size 0", records({stdDefaults({customInfo()}, {{"size", 0}})}),
       "Failed to update setup default Not Found\n"},
      {"StdDefaults running past the store",
       {{"size", 0x200}, {"records", {stdDefaults({customInfo()}, {{"size", 0x300}})}}},
       "Failed to update setup default Not Found\n"},
      {"StdDefaults without the terminator of its name",
       records({{{"name", "StdDefaults"}, {"unterminated_name", true}}}), "Failed to update setup default Not Found\n"},
      {"StdDefaults with a UCS-2 name", records({stdDefaults({customInfo()}, {{"ucs2", true}})}),
       "Failed to update setup default Not Found\n"},
      {"StdDefaults not valid", records({stdDefaults({customInfo()}, {{"valid", false}})}),
       "Failed to update setup default Not Found\n"},
      {"Next leaving the store", records({stdDefaults({customInfo()}, {{"next", 0xFFFFF0}})}),
       "StdDefaults chain leaves the store at 0xFF800000 (+0xFFFFF0)\n"},
      {"Next landing where no record is", records({stdDefaults({customInfo()}, {{"next", 0x20}})}),
       "StdDefaults chain leaves the store at 0xFF800000 (+0x20)\n"},
      {"Next chain ending on another variable",
       records({stdDefaults({customInfo()}, {{"next_record", 1}}), {{"name", "Lang"}, {"data", "01"}}}),
       "Failed to update setup default Not Found\n"},
      {"Next of the last hop leaving the store",
       records({stdDefaults({customInfo()}, {{"next_record", 1}}), stdDefaults({customInfo()}, {{"next", 0x3FFF0}})}),
       "StdDefaults chain leaves the store"},
      {"no StdDefaults at all", records({{{"name", "Setup"}, {"data_size", 4}}}),
       "Failed to update setup default Not Found\n"},
  };
  for (const auto& c : cases) {
    DefaultsBoot b(defaultsBoard(c.store, {1, 2, 0, 1}));
    b.run();
    EXPECT_EQ(b.result.end, BootEndKind::Completed) << c.name;
    EXPECT_TRUE(b.logged(c.says)) << c.name << "\n" << b.log();
    EXPECT_TRUE(b.flashOps().empty()) << c.name;
    EXPECT_FALSE(b.logged("System Reset")) << c.name << ": no reset, whatever PcdZubResetRequest holds";
  }
}

TEST(DefaultsOverridePeiStore, StdDefaultsEndingExactlyAtTheStoreEndIsFound) {
  // The record is the store's last bytes: a 4 KB store holding only "StdDefaults".
  nlohmann::json nested = {customInfo(), {{"data_only", true}, {"data_size", 4096 - 23 - 33 - 10}}};
  DefaultsBoot b(defaultsBoard({{"size", 0x1000}, {"records", {stdDefaults(nested)}}}, {0, 1}));
  b.run();
  EXPECT_EQ(b.result.end, BootEndKind::ColdReset) << b.log();
}

struct HobCase {
  const char* name;
  uint64_t address;
  uint32_t size;
  const char* says;
};

TEST(DefaultsOverridePeiStore, TheNvramHobIsCheckedBeforeTheStoreIsRead) {
  const HobCase cases[] = {
      {"address off a 4 KB boundary", kStoreBase + 0x10, kNvramStoreSize, "Invalid nvram base address 0xff800010\n"},
      {"store that nothing maps", 0x40000000, 0x1000, "Failed to update setup default Not Found\n"},
      {"store running past 4 GB", kStoreBase, 0x7F00000, "Failed to update setup default Not Found\n"},
  };
  for (const auto& c : cases) {
    BoardConfig board = defaultsBoard({{"present", false}}, {1, 2, 0, 1});
    DefaultsBoot b(board);
    b.boot.start();
    auto* hob = static_cast<uint8_t*>(b.boot.core().createHob(EFI_HOB_TYPE_GUID_EXTENSION, 24 + sizeof(NVRAM_HOB_DATA)));
    reinterpret_cast<EFI_HOB_GUID_TYPE*>(hob)->Name = gNvramHobGuid;
    NVRAM_HOB_DATA data{c.address, 0, c.size};
    std::memcpy(hob + 24, &data, sizeof data);
    b.run();
    EXPECT_EQ(b.result.end, BootEndKind::Completed) << c.name;
    EXPECT_TRUE(b.logged(c.says)) << c.name << "\n" << b.log();
    EXPECT_TRUE(b.flashOps().empty()) << c.name;
  }
  DefaultsBoot none(defaultsBoard({{"present", false}}, {1, 2, 0, 1}));
  none.run();
  EXPECT_TRUE(none.logged("Failed to find nvram hob\n"));
  EXPECT_EQ(none.result.end, BootEndKind::Completed);
}

}  // namespace
}  // namespace zub::defaultstest
