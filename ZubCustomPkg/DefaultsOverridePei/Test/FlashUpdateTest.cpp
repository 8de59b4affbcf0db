// The update's use of the flash: the pristine defaults recovered from the firmware
// volumes, the write through the flash write library and its failures, and a power loss
// at each flash operation of the update.
#include <gtest/gtest.h>

#include <memory>

#include <Guid/NvramStore.h>
#include <Pi/PiFirmwareVolume.h>
#include <Ppi/PchSpi.h>


#include "DefaultsBoard.h"
#include "Foundation/FirmwareVolume.h"
#include "Platform/PchSpiFlashPpi.h"

namespace zub::defaultstest {
namespace {

nlohmann::json defaultStore() { return nlohmann::json::object(); }   // the board's own store: identity 0 0 0

// Where a setup variable's default data sits in the flash.
size_t defaultOffset(const std::vector<uint8_t>& flash, const std::string& name) {
  std::vector<uint8_t> store = storeOf(flash);
  auto sd = stdDefaults(store);
  const uint8_t* nest = store.data() + sd->offset + sd->dataOffset;
  for (const auto& r : walkNvramStore(nest, sd->dataSize).records)
    if (r.name == name) return kNvramStoreOffset + sd->offset + sd->dataOffset + r.offset + r.dataOffset;
  return 0;
}

// A flash that has drifted from the pristine defaults: one byte of SocketIioConfig cleared.
struct DriftedFlash {
  explicit DriftedFlash(const BoardConfig& board) : image(freshFlashImage(board)) {
    at = defaultOffset(image, "SocketIioConfig") + 5000;
    image[at] = 0x00;
  }
  PersistentState state() const {
    PersistentState s;
    s.flash = image;
    return s;
  }
  std::vector<uint8_t> image;
  size_t at;
};

// A second firmware volume with `pristine` as its defaults file, laid into the flash at
// 0xB00000 before the boot and published after the board's own volume.
constexpr uint32_t kSecondVolume = 0xB00000;

size_t layVolume(PersistentState& s, const std::vector<uint8_t>& pristine) {
  FirmwareVolumeBuilder fv;
  fv.addFile(gSetupDefaultsFileGuid, EFI_FV_FILETYPE_FREEFORM, {{EFI_SECTION_RAW, pristine}});
  std::vector<uint8_t> v = fv.build();
  std::copy(v.begin(), v.end(), s.flash.begin() + kSecondVolume);
  return v.size();
}

TEST(DefaultsOverridePeiFlash, ThePristineDefaultsFromTheFirmwareVolumeReplaceDriftedOnes) {
  BoardConfig board = defaultsBoard(defaultStore(), {0, 10});
  DriftedFlash drifted(board);
  DefaultsBoot b(board, drifted.state());
  b.run();
  EXPECT_TRUE(b.logged("StdDefaults from FV_BB found\n"));
  EXPECT_EQ(b.flash()[drifted.at], 0xA5);
  EXPECT_EQ(b.result.end, BootEndKind::ColdReset);
}

TEST(DefaultsOverridePeiFlash, WithoutAMatchingDefaultsFileTheCurrentContentIsKept) {
  struct Case {
    const char* name;
    std::function<void(BoardConfig&)> change;
  } cases[] = {
      {"no defaults file", [](BoardConfig& b) { b.nvramStore.pristine.clear(); }},
      {"its Size differs", [](BoardConfig& b) { b.nvramStore.pristine[4] ^= 1; }},
      {"its Flags differ", [](BoardConfig& b) { b.nvramStore.pristine[9] ^= 0x04; }},
  };
  for (const auto& c : cases) {
    BoardConfig board = defaultsBoard(defaultStore(), {0, 10});
    c.change(board);
    DriftedFlash drifted(board);
    DefaultsBoot b(board, drifted.state());
    b.run();
    EXPECT_FALSE(b.logged("StdDefaults from FV_BB found\n")) << c.name;
    EXPECT_EQ(b.flash()[drifted.at], 0x00) << c.name;
    EXPECT_EQ(b.result.end, BootEndKind::ColdReset) << c.name << ": the update goes on";
    EXPECT_EQ(defaultData(b.flash(), "ZubCustomInfo")->at(1), 10) << c.name;
  }
}

TEST(DefaultsOverridePeiFlash, OnlyTheFirstVolumeThatCarriesTheFileIsConsulted) {
  struct Case {
    const char* name;
    bool boardFileDiffers;   // else the board's volume has no defaults file
    uint8_t expected;
  } cases[] = {
      {"the first file's header differs: the second volume is not searched", true, 0x00},
      {"the first volume has no file: the second one recovers", false, 0xA5},
  };
  for (const auto& c : cases) {
    BoardConfig board = defaultsBoard(defaultStore(), {0, 10});
    std::vector<uint8_t> good = board.nvramStore.pristine;
    if (c.boardFileDiffers) board.nvramStore.pristine[4] ^= 1;
    else board.nvramStore.pristine.clear();
    DriftedFlash drifted(board);
    PersistentState s = drifted.state();
    size_t size = layVolume(s, good);
    DefaultsBoot b(board, s);
    b.boot.core().addFirmwareVolume(b.boot.flash().base() + kSecondVolume, size);
    b.run();
    EXPECT_EQ(b.logged("StdDefaults from FV_BB found\n"), c.expected == 0xA5) << c.name;
    EXPECT_EQ(b.flash()[drifted.at], c.expected) << c.name;
  }
}

TEST(DefaultsOverridePeiFlash, ADefaultsFileShorterThanTheRecordIsNotCopied) {
  BoardConfig board = defaultsBoard(defaultStore(), {0, 10});
  board.nvramStore.pristine.resize(64);   // the header agrees, the section holds 64 bytes
  DriftedFlash drifted(board);
  DefaultsBoot b(board, drifted.state());
  b.run();
  EXPECT_TRUE(b.logged("StdDefaults from FV_BB runs past its section")) << b.log();
  EXPECT_EQ(b.flash()[drifted.at], 0x00);
  EXPECT_EQ(b.result.end, BootEndKind::ColdReset);
}

// The SPI flash PPI with one function made to fail; the others reach the board's PPI.
struct FailingSpi {
  static inline EFI_STATUS region = EFI_SUCCESS, erase = EFI_SUCCESS, write = EFI_SUCCESS;
  static inline PchSpiFlashPpi* real = nullptr;
  PCH_SPI_PPI ppi{};
  EFI_PEI_PPI_DESCRIPTOR descriptor{EFI_PEI_PPI_DESCRIPTOR_PPI | EFI_PEI_PPI_DESCRIPTOR_TERMINATE_LIST, &gPchSpiPpiGuid,
                                    &ppi};
  explicit FailingSpi(PchSpiFlashPpi& board) {
    real = &board;
    ppi.GetRegionAddress = [](PCH_SPI_PPI*, FLASH_REGION_TYPE r, UINT32* b, UINT32* s) -> EFI_STATUS {
      return region ? region : real->regionAddress(r, b, s);
    };
    ppi.FlashErase = [](PCH_SPI_PPI*, FLASH_REGION_TYPE r, UINT32 a, UINT32 n) -> EFI_STATUS {
      return erase ? erase : real->erase(r, a, n);
    };
    ppi.FlashWrite = [](PCH_SPI_PPI*, FLASH_REGION_TYPE r, UINT32 a, UINT32 n, UINT8* d) -> EFI_STATUS {
      return write ? write : real->write(r, a, n, d);
    };
  }
};

TEST(DefaultsOverridePeiFlash, AFailedFlashAccessIsReportedAndNothingIsReset) {
  struct Case {
    const char* name;
    EFI_STATUS region, erase, write;
    const char* says;
  } cases[] = {
      {"region query", EFI_DEVICE_ERROR, 0, 0, "Failed to get bios spi base Device Error\n"},
      {"erase", 0, EFI_DEVICE_ERROR, 0, "Failed to write flash 0x800000 16384 Device Error\n"},
      {"write", 0, 0, EFI_ACCESS_DENIED, "Failed to write flash 0x800000 16384 Access Denied\n"},
  };
  for (const auto& c : cases) {
    BoardConfig board = defaultsBoard(defaultStore(), {0, 3, 0, 1});
    board.timeline = {TimelineStep{}};
    DefaultsBoot b(board);
    std::vector<uint8_t> before = b.flash();
    b.boot.start();
    b.boot.dispatcher().dispatchReady();
    FailingSpi spi(b.boot.spiFlashPpi());
    FailingSpi::region = c.region, FailingSpi::erase = c.erase, FailingSpi::write = c.write;
    b.boot.core().installPpi(&spi.descriptor);
    FailingSpi::region = FailingSpi::erase = FailingSpi::write = EFI_SUCCESS;
    b.run();
    EXPECT_EQ(b.result.end, BootEndKind::Completed) << c.name;
    EXPECT_TRUE(b.logged(c.says)) << c.name << "\n" << b.log();
    EXPECT_FALSE(b.logged("System Reset")) << c.name << ": no reset, whatever PcdZubResetRequest holds";
    EXPECT_TRUE(b.logged("Failed to update setup default ")) << c.name;
    if (c.write == 0) EXPECT_EQ(b.flash(), before) << c.name;
  }
}

// The boot after one whose power failed during flash operation `op` of the update.
std::unique_ptr<DefaultsBoot> bootAfterPowerLossAt(uint32_t op) {
  BoardConfig board = defaultsBoard(defaultStore(), {0, 3}, {{"flash", {{"power_loss_at_op", op}}}});
  DefaultsBoot failing(board);
  failing.run();
  EXPECT_EQ(failing.result.end, BootEndKind::PowerLoss) << op;
  board.flash.powerLossAtOp = 0;
  auto next = std::make_unique<DefaultsBoot>(board, failing.boot.stateAfter());
  next->run();
  EXPECT_EQ(next->result.end, BootEndKind::Completed) << op;
  return next;
}

// The update erases its region and then programs it. The power failing between the two
// loses defaults: the erase leaves no copy behind, and the next boot cannot tell.
TEST(DefaultsOverridePeiFlash, PowerLossDuringTheUpdateLosesDefaultsTheNextBootDoesNotRepair) {
  // Half of the region's blocks were erased, "StdDefaults" with them: the defaults are gone.
  auto afterErase = bootAfterPowerLossAt(1);
  EXPECT_TRUE(afterErase->logged("Failed to update setup default Not Found\n")) << afterErase->log();
  EXPECT_FALSE(defaultData(afterErase->flash(), "ZubCustomInfo"));

  // The first half was programmed: the new identity is there, the later variables are not,
  // and the matching identity keeps every later boot from rewriting them.
  auto afterWrite = bootAfterPowerLossAt(2);
  EXPECT_TRUE(afterWrite->logged("Custom info all match, just return\n")) << afterWrite->log();
  EXPECT_EQ(defaultData(afterWrite->flash(), "ZubCustomInfo")->at(1), 3);
  EXPECT_TRUE(defaultData(afterWrite->flash(), "Setup"));
  EXPECT_FALSE(defaultData(afterWrite->flash(), "PchSetup"));
  EXPECT_TRUE(afterWrite->logged("VARID:21  NVRAM ADDR:0x00000000  <PchSetup>\n"));
}

}  // namespace
}  // namespace zub::defaultstest
