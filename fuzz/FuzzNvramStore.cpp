// DefaultsOverridePei's walks of the NVRAM store in the SPI flash and of the nested store
// of "StdDefaults", with the identity the BMC's parameters give. Input: the OEM flag, the
// custom id, the four hardware-id bytes and the reset request, then the store's bytes
// from its start (the rest of the store erased). One boot to its end per input: the
// module runs when the SPI flash PPI is installed and may rewrite the flash and reset.
#include "Board/BoardNvram.h"
#include "Devices/SpiFlash.h"
#include "FuzzBoard.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace zub;
  using namespace zub::fuzz;
  static const BoardConfig board = [] {
    BoardConfig b = boardOf({"DefaultsOverridePei"});
    TimelineStep spi{TimelineStep::Kind::Install};
    spi.ppi = "spi-flash";
    b.timeline.push_back(spi);
    return b;
  }();
  FuzzInput in(data, size);
  const uint32_t tokens[] = {PcdZubOemFlag_TOKEN, PcdZubCustomId_TOKEN, PcdZubHwId3_TOKEN, PcdZubHwId2_TOKEN,
                             PcdZubHwId1_TOKEN,   PcdZubHwId0_TOKEN,    PcdZubResetRequest_TOKEN};
  uint8_t identity[7];
  for (auto& v : identity) v = in.u8();
  std::vector<uint8_t> store = in.bytes(kNvramStoreSize);

  BootSession boot(board, PersistentState{});
  for (int i = 0; i < 7; ++i) boot.platform().pcd.setNumber(tokens[i], identity[i]);
  uint8_t* flash = boot.flash().hostPointer(kNvramStoreOffset, kNvramStoreSize);
  std::memset(flash, 0xFF, kNvramStoreSize);
  std::copy(store.begin(), store.end(), flash);
  boot.run();
  return 0;
}
