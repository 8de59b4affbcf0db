// VramStorePei's reads of the volatile store: the slots the BMC leaves in video memory,
// taken over at start-up, then read through the PPI with the sizes the caller asks for.
// Input: the reset kind, a mask of slots given the right magic and GUID, a mask of slots
// given the right CRC, the clear flags and seven read sizes, then the store's bytes.
#include <Ppi/VgaVolatile.h>

#include "Bmc/VolatileSlots.h"
#include "FuzzBoard.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace zub;
  using namespace zub::fuzz;
  static const BoardConfig board = boardOf({"VramStorePei"});
  FuzzInput in(data, size);
  const ResetKind resets[] = {ResetKind::Cold, ResetKind::Warm, ResetKind::Ac};
  ResetKind reset = resets[in.u8() % 3];
  uint8_t named = in.u8(), sealed = in.u8(), clear = in.u8();
  uint8_t sizes[VOLATILE_SLOT_COUNT];
  for (auto& s : sizes) s = in.u8();
  std::vector<uint8_t> store = in.bytes(VOLATILE_STORE_CLEAR_SIZE);

  LinkedBoot b(board, reset);
  uint8_t* area = b.vram.area(kVolatileStoreFromEnd);
  std::copy(store.begin(), store.end(), area);
  for (size_t i = 0; i < kVolatileSlots.size(); ++i) {
    const VolatileSlotSpec& s = kVolatileSlots[i];
    uint8_t* rec = area + s.offset;
    if (named & (1u << i)) {
      storeLe(rec + 4, 4, s.magic);
      std::memcpy(rec + 8, &s.guid, sizeof s.guid);
    }
    if (sealed & (1u << i)) storeLe(rec, 4, zcrc(rec + 4, kVolatileSlotHeader - 4 + s.size));
  }
  b.start();
  b.dispatchAll();
  auto* ppi = b.boot.locate<VGA_VOLATILE_PPI>(gVgaVolatilePpiGuid);
  if (!ppi) return 0;
  for (int i = 0; i < VOLATILE_SLOT_COUNT; ++i) {
    std::unique_ptr<uint8_t[]> buffer(new uint8_t[std::max<uint8_t>(sizes[i], 1)]);
    ppi->ReadSlot(ppi, (clear >> i) & 1, i, sizes[i], buffer.get());
  }
  return 0;
}
