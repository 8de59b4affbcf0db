// The board's NVRAM: the store laid into a fresh flash, the NVRAM HOB that points at it,
// the defaults file in the built-in volume, the pre-reset callbacks, and the board-file
// keys that describe them.
#include <gtest/gtest.h>

#include <cstring>

#include <Guid/NvramStore.h>
#include <Ppi/PreResetCallback.h>

#include "Board/BoardFile.h"
#include "Board/BootSession.h"
#include "Devices/SpiFlash.h"
#include "Foundation/FirmwareVolume.h"
#include "Platform/NvarStore.h"
#include "Platform/PreResetCallbacks.h"

namespace zub {
namespace {

std::string errorOf(const nlohmann::json& changes) {
  try {
    boardWith(changes);
  } catch (const BoardFileError& e) {
    return e.key + " | " + e.what();
  }
  return "";
}

TEST(BoardNvram, MistakesNameTheirKey) {
  struct Case {
    nlohmann::json changes;
    const char* says;
  } cases[] = {
      {{{"nvram_store", {{"identity", {{"custom_id", 256}}}}}}, "nvram_store.identity.custom_id"},
      {{{"nvram_store", {{"identity", nlohmann::json::object()}, {"records", nlohmann::json::array()}}}},
       "give one of identity or records"},
      {{{"nvram_store", {{"offset", 0x1000000}}}}, "nvram_store.offset"},
      {{{"nvram_store", {{"size", 0x900000}}}}, "nvram_store.size"},
      {{{"nvram_store", {{"records", {{{"name", "A"}, {"data_size", 10}}, {{"name", "B"}, {"offset", 8}}}}}}},
       "nvram_store | nvram_store: record 1 cannot start at offset 8"},
      {{{"nvram_store", {{"records", {{{"name", "A"}, {"fill", 1}}}}}}}, "nvram_store.records[0].fill"},
      {{{"nvram_store", {{"records", {{{"name", "A"}, {"next", 0x1000000}}}}}}}, "nvram_store.records[0].next"},
      {{{"pre_reset_callbacks", 5}}, "pre_reset_callbacks"},
  };
  for (const auto& c : cases) EXPECT_NE(errorOf(c.changes).find(c.says), std::string::npos) << c.changes << " -> " << errorOf(c.changes);
}

TEST(BoardNvram, TheHobPointsAtTheStoreInTheMappedFlash) {
  BootSession boot(boardWith({{"nvram_store", {{"identity", {{"oem_flag", 7}}}}}}), {});
  boot.start();
  const NVRAM_HOB_DATA* data = nullptr;
  for (const auto& [type, bytes] : boot.core().hobs().entries()) {
    if (type != EFI_HOB_TYPE_GUID_EXTENSION) continue;
    auto* g = reinterpret_cast<const EFI_HOB_GUID_TYPE*>(bytes.data());
    if (std::memcmp(&g->Name, &gNvramHobGuid, sizeof(EFI_GUID)) == 0) {
      static NVRAM_HOB_DATA copy;
      std::memcpy(&copy, bytes.data() + sizeof(EFI_HOB_GUID_TYPE), sizeof copy);
      data = &copy;
    }
  }
  ASSERT_NE(data, nullptr);
  EXPECT_EQ(data->NvramAddress, 0xFF800000u);
  EXPECT_EQ(data->NvramSize, kNvramStoreSize);
  const uint8_t* store = boot.machine().memory.hostPointer(data->NvramAddress, data->NvramSize);
  ASSERT_NE(store, nullptr);
  NvramStoreWalk w = walkNvramStore(store, data->NvramSize);
  ASSERT_EQ(w.records.size(), 3u);
  EXPECT_EQ(w.records[2].name, "StdDefaults");
  EXPECT_EQ(w.stop, "erased");

  // The defaults file of the built-in volume holds that very record.
  const auto& image = boot.flash().image();
  auto files = listFfsFiles(image.data() + kBuiltInFvOffset, kBuiltInFvSize);
  const uint8_t* section = nullptr;
  size_t size = 0;
  for (const auto& f : files)
    if (std::memcmp(f.header, &gSetupDefaultsFileGuid, sizeof(EFI_GUID)) == 0) section = findSectionData(f, 0x19, &size);
  ASSERT_NE(section, nullptr);
  ASSERT_EQ(size, w.records[2].size);
  EXPECT_EQ(std::memcmp(section, store + w.records[2].offset, size), 0);
  const uint8_t* info = store + w.records[2].offset + w.records[2].dataOffset;   // the first nested record
  EXPECT_EQ(info[33 - 8], 7) << "ZubCustomInfo's OEM flag";
}

TEST(BoardNvram, WithoutAStoreThereIsNoHobAndNoDefaultsFile) {
  BootSession boot(boardWith({{"nvram_store", {{"present", false}}}}), {});
  boot.start();
  for (const auto& [type, bytes] : boot.core().hobs().entries())
    if (type == EFI_HOB_TYPE_GUID_EXTENSION)
      EXPECT_NE(std::memcmp(bytes.data() + 8, &gNvramHobGuid, sizeof(EFI_GUID)), 0);
  for (const auto& f : listFfsFiles(boot.flash().image().data() + kBuiltInFvOffset, kBuiltInFvSize))
    EXPECT_NE(std::memcmp(f.header, &gSetupDefaultsFileGuid, sizeof(EFI_GUID)), 0);
  EXPECT_TRUE(std::all_of(boot.flash().image().begin() + kNvramStoreOffset,
                          boot.flash().image().begin() + kNvramStoreOffset + kNvramStoreSize,
                          [](uint8_t b) { return b == 0xFF; }));
}

TEST(BoardNvram, EachPreResetCallbackRecordsItsCalls) {
  BootSession boot(boardWith({{"pre_reset_callbacks", 3}}), {});
  boot.start();
  for (size_t i = 0;; ++i) {
    auto* p = boot.locate<PRE_RESET_CALLBACK_PPI>(gPreResetCallbackPpiGuid, i);
    if (!p) {
      EXPECT_EQ(i, 3u);
      break;
    }
    p->PreResetCallback(i * 10);
  }
  using Calls = std::vector<std::pair<size_t, uint64_t>>;
  EXPECT_EQ(boot.nvram().preResetCallbacks().calls(), (Calls{{0, 0}, {1, 10}, {2, 20}}));
  auto events = boot.events().ofType("pre_reset_callback");
  ASSERT_EQ(events.size(), 3u);
  EXPECT_EQ(events[2]["instance"], 2);
  EXPECT_EQ(events[2]["argument"], 20);
}

}  // namespace
}  // namespace zub
