// LogoCachePei's validation and use of the flash logo area: the header block (CRC, magic
// GUID, OEM id, the three logo ranges and their CRCs) and the cached logo drawn from it,
// then the flash update path once the SPI flash PPI is installed. Input: the seal byte
// (bit 0: right header CRC, bit 1: right magic GUID, bit 2: right logo CRCs where the
// ranges lie in the area), the OEM flag, the early VGA mode, then the area's bytes from
// its start (the rest of the area erased). The BMC has no logo file to give.
#include "Devices/SpiFlash.h"
#include "FuzzBoard.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace zub;
  using namespace zub::fuzz;
  constexpr uint32_t kAreaOffset = 0x940000, kAreaSize = 0x80000, kHeaderBlock = 0x1000;
  static const EFI_GUID kMagic = {0xc4ba7aff, 0x4026, 0x40aa, {0x92, 0x33, 0xae, 0x3b, 0x7e, 0xad, 0xe3, 0x2b}};
  static const BoardConfig board = [] {
    BoardConfig b = boardOf({"IpmiRelayPei", "VramLinkPei", "LogoCachePei", "TextConsolePei"});
    TimelineStep spi{TimelineStep::Kind::Install};
    spi.ppi = "spi-flash";
    b.timeline.push_back(spi);
    return b;
  }();
  FuzzInput in(data, size);
  uint8_t seal = in.u8(), oem = in.u8(), mode = in.u8();
  std::vector<uint8_t> bytes = in.bytes(kAreaSize);

  LinkedBoot b(board);
  uint8_t* area = b.boot.flash().hostPointer(kAreaOffset, kAreaSize);
  std::memset(area, 0xFF, kAreaSize);
  std::copy(bytes.begin(), bytes.end(), area);
  if (seal & 2) std::memcpy(area + 4, &kMagic, sizeof kMagic);
  if (seal & 4)
    for (int i = 0; i < 3; ++i) {
      uint8_t* entry = area + 0x18 + 12 * i;
      uint64_t offset = loadLe(entry, 4), length = loadLe(entry + 4, 4);
      if (offset + length <= kAreaSize) storeLe(entry + 8, 4, zcrc(area + offset, size_t(length)));
    }
  if (seal & 1) storeLe(area, 4, zcrc(area + 4, kHeaderBlock - 4));
  b.start();
  b.boot.platform().pcd.setNumber(PcdZubOemFlag_TOKEN, oem);
  b.boot.platform().pcd.setNumber(PcdZubEarlyVgaMode_TOKEN, mode);
  b.boot.run();
  return 0;
}
