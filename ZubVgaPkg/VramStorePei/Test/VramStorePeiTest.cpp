// The volatile store on the board: slots the BMC leaves in video memory, the start-up
// after an AC power loss or a warm reset, and the PPI's checks.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstring>

#include <Ppi/VgaVolatile.h>
#include <ZubPcdTokens.h>

#include "Board/BoardFile.h"
#include "Board/BootSession.h"
#include "Bmc/VolatileSlots.h"
#include "Devices/Chipset.h"

namespace zub {
namespace {

constexpr uint64_t kVram = 0x90000000, kVramSize = 16u << 20, kStore = kVram + kVramSize - 0x300000;

struct Ram : MemoryDevice {
  std::vector<uint8_t> bytes = std::vector<uint8_t>(kVramSize, 0x5A);
  uint64_t read(uint64_t o, unsigned n) override { return loadLe(bytes.data() + o, n); }
  void write(uint64_t o, unsigned n, uint64_t v) override { storeLe(bytes.data() + o, n, v); }
  uint8_t* hostPointer(uint64_t o, uint64_t) override { return bytes.data() + o; }
};

const auto& kSlots = kVolatileSlots;
const EFI_GUID& kBootOptionGuid = kBmcBootOptionGuid;

// A slot as the BMC writes it (checksummed with zlib).
void bmcWrites(Ram& ram, int index, const std::vector<uint8_t>& data) {
  std::vector<uint8_t> r = volatileSlotRecord(index, data);
  std::memcpy(ram.bytes.data() + (kStore - kVram) + kSlots[size_t(index)].offset, r.data(), r.size());
}

std::vector<uint8_t> le32(std::initializer_list<uint32_t> words) {
  std::vector<uint8_t> out;
  for (uint32_t w : words)
    for (int i = 0; i < 4; ++i) out.push_back(uint8_t(w >> (8 * i)));
  return out;
}

struct VramStore : ::testing::Test {
  Ram ram;
  FixedRange range{kVram, kVramSize, &ram};
  std::unique_ptr<BootSession> boot;

  void bootWith(ResetKind reset, std::function<void()> bmc) {
    BoardConfig b = boardWith({{"pcd", {{"PcdZubVgaMemoryBase", "0x90000000"}, {"PcdZubVgaMemorySize", "0x1000000"},
                                        {"PcdZubVolatileData2", 77}}},
                               {"cmos", {{"upper", {{"0x54", "0xC2"}}}}}});
    b.modules = {"VramStorePei"};
    boot = std::make_unique<BootSession>(b, PersistentState{}, BootOptions{ZUB_FIRMWARE_DIR, reset});
    boot->machine().memory.add(&range);
    boot->start();
    if (bmc) bmc();
    ASSERT_EQ(boot->dispatcher().dispatch("VramStorePei"), EFI_SUCCESS);
  }
  VGA_VOLATILE_PPI* ppi() { return boot->locate<VGA_VOLATILE_PPI>(gVgaVolatilePpiGuid); }
  uint64_t pcd(uint32_t token) { return boot->platform().pcd.number(token); }
  uint8_t cmos54() { return boot->chipset().cmos.byte(0xD4); }
  bool logged(const char* text) { return boot->platform().debug.log().find(text) != std::string::npos; }
};

TEST_F(VramStore, StartUpTakesOverWhatTheBmcLeft) {
  std::vector<uint8_t> option(reinterpret_cast<const uint8_t*>(&kBootOptionGuid),
                              reinterpret_cast<const uint8_t*>(&kBootOptionGuid) + 16);
  auto word = le32({0x01000004});
  option.insert(option.end(), word.begin(), word.end());
  bootWith(ResetKind::Warm, [&] {
    bmcWrites(ram, 0, option);
    bmcWrites(ram, 1, le32({0x7A5B9C6D}));
    bmcWrites(ram, 4, le32({1, 2, 3, 4}));
  });
  EXPECT_EQ(pcd(PcdZubBmcBootOption_TOKEN), 0x01000004u);
  EXPECT_EQ(cmos54(), 0xC1) << "bits 1:0 become 01, the others stay";
  EXPECT_TRUE(logged("\n<<Debug Mode Open from QMB>>\n"));
  EXPECT_EQ(pcd(PcdZubVolatileData0_TOKEN), 1u);
  EXPECT_EQ(pcd(PcdZubVolatileData3_TOKEN), 4u);
  uint32_t again = 0;
  EXPECT_EQ(ppi()->ReadSlot(ppi(), 0, 1, 4, &again), EFI_SUCCESS) << "start-up reads never erase a slot";
}

TEST_F(VramStore, AfterAnAcPowerLossTheStoreIsWipedAndNothingIsRead) {
  bootWith(ResetKind::Ac, [&] { bmcWrites(ram, 1, le32({0x7A5B9C6D})); });
  EXPECT_TRUE(logged("Clear volatile data after AC power loss\n"));
  EXPECT_EQ(cmos54(), 0xC2);
  size_t start = kStore - kVram;
  EXPECT_TRUE(std::all_of(ram.bytes.begin() + start, ram.bytes.begin() + start + 0x10000, [](uint8_t b) { return !b; }));
  EXPECT_EQ(ram.bytes[start + 0x10000], 0x5A) << "exactly 64 KB";
  EXPECT_TRUE(boot->chipset().pmc.powerFailure()) << "the status bit is left for its owner";
}

TEST_F(VramStore, DamagedOrForeignSlotsAreRefusedAndLeaveTheirPcds) {
  std::vector<uint8_t> option(20, 0x11);   // another GUID in slot 0
  bootWith(ResetKind::Cold, [&] {
    bmcWrites(ram, 0, option);
    bmcWrites(ram, 4, le32({9, 9, 9, 9}));
    ram.bytes[kStore - kVram + 128 + 24] ^= 0x04;   // one flipped data bit
  });
  EXPECT_EQ(pcd(PcdZubBmcBootOption_TOKEN), 0u);
  EXPECT_EQ(pcd(PcdZubVolatileData2_TOKEN), 77u);
  EXPECT_TRUE(logged("Invalid crc32 4 calc:0x"));
  EXPECT_TRUE(logged("Invalid magic or guid 1 0x5A5A5A5A 0x22221111"));
}

TEST_F(VramStore, ReadWriteClearThroughThePpi) {
  bootWith(ResetKind::Warm, nullptr);
  auto* p = ppi();
  ASSERT_NE(p, nullptr);
  uint32_t v = 0xCAFEF00D, out = 0;
  ASSERT_EQ(p->WriteSlot(p, 2, &v), EFI_SUCCESS);
  const uint8_t* rec = ram.bytes.data() + (kStore - kVram) + 72;
  EXPECT_EQ(loadLe(rec, 4), uint32_t(crc32(0, rec + 4, 24))) << "the checksum zlib computes";
  EXPECT_EQ(p->ReadSlot(p, 1, 2, 4, &out), EFI_SUCCESS);
  EXPECT_EQ(out, v);
  EXPECT_TRUE(std::all_of(rec, rec + 28, [](uint8_t b) { return !b; })) << "read with clear zeroes the record";
  EXPECT_EQ(p->ReadSlot(p, 0, 2, 4, &out), EFI_CRC_ERROR);
  uint8_t buf[20];
  EXPECT_EQ(p->ReadSlot(p, 0, 0, 16, buf), EFI_INVALID_PARAMETER);
  EXPECT_TRUE(logged("Invalid buf size 0 16 44\n"));
  for (int bad : {-1, 7}) {
    EXPECT_EQ(p->ReadSlot(p, 0, bad, 4, &out), EFI_INVALID_PARAMETER);
    EXPECT_EQ(p->WriteSlot(p, bad, &v), EFI_INVALID_PARAMETER);
    EXPECT_EQ(p->ClearSlot(p, bad), EFI_INVALID_PARAMETER);
  }
  EXPECT_EQ(p->WriteSlot(p, 3, nullptr), EFI_INVALID_PARAMETER);
  ASSERT_EQ(p->WriteSlot(p, 6, buf), EFI_SUCCESS);
  ASSERT_EQ(p->ClearSlot(p, 6), EFI_SUCCESS);
  EXPECT_EQ(p->ReadSlot(p, 0, 6, 8, buf), EFI_CRC_ERROR);
}

TEST(VramStoreWithoutVideoMemory, NothingIsTouchedBeforeTheVgaBringUp) {
  BoardConfig b = defaultBoard();
  b.modules = {"VramStorePei"};
  BootSession boot(b, PersistentState{}, BootOptions{ZUB_FIRMWARE_DIR, ResetKind::Ac});
  boot.start();
  ASSERT_EQ(boot.dispatcher().dispatch("VramStorePei"), EFI_SUCCESS);
  auto* p = boot.locate<VGA_VOLATILE_PPI>(gVgaVolatilePpiGuid);
  uint32_t v = 1;
  EXPECT_EQ(p->WriteSlot(p, 1, &v), EFI_NOT_READY);
  EXPECT_EQ(p->ReadSlot(p, 0, 1, 4, &v), EFI_NOT_READY);
}

// The whole board: the BMC's slots from the board file reach the PCDs through the real
// video memory, and an AC power loss wipes them before they are read.
TEST(VramStoreOnBoard, BmcSlotsOfTheBoardFileReachThePcds) {
  BoardConfig b = boardWith({{"bmc", {{"volatile", {{"boot_option", "0x01000004"}, {"debug_mode_request", "0x7A5B9C6D"},
                                                     {"option_words", {5, 6, 7, 8}}}}}}});
  for (ResetKind reset : {ResetKind::Cold, ResetKind::Ac}) {
    BootSession boot(b, PersistentState{}, BootOptions{ZUB_FIRMWARE_DIR, reset});
    boot.run();
    const auto& pcd = boot.platform().pcd;
    bool taken = reset != ResetKind::Ac;
    EXPECT_EQ(pcd.number(PcdZubBmcBootOption_TOKEN), taken ? 0x01000004u : 0u);
    EXPECT_EQ(pcd.number(PcdZubVolatileData3_TOKEN), taken ? 8u : 0u);
    if (taken) EXPECT_EQ(boot.chipset().cmos.byte(0xD4) & 3, 1) << "debug mode opened";
  }
}

}  // namespace
}  // namespace zub
