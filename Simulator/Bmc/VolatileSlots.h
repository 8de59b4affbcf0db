// The BMC's side of the volatile store in video memory: the seven slot records (CRC-32,
// magic, GUID, payload) at the start of the third megabyte from the end. Before each
// boot the BMC writes the slots it has values for: the boot option, the debug-mode
// request and the four option words.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include <Uefi/UefiBaseType.h>

namespace zub {

struct VolatileSlotSpec {
  uint32_t offset, size, magic;
  EFI_GUID guid;
};

inline constexpr size_t kVolatileStoreFromEnd = 0x300000;
inline constexpr size_t kVolatileSlotHeader = 24;
extern const std::array<VolatileSlotSpec, 7> kVolatileSlots;
extern const EFI_GUID kBmcBootOptionGuid;        // leads slot 0's payload
inline constexpr uint32_t kDebugModeRequest = 0x7A5B9C6D;

struct BmcVolatileSlots {
  std::optional<uint32_t> bootOption;             // slot 0
  std::optional<uint32_t> debugModeRequest;       // slot 1 (0x7A5B9C6D opens debug mode)
  std::optional<std::array<uint32_t, 4>> optionWords;   // slot 4
};

// A slot record as the BMC writes it: its CRC-32 over magic, GUID and payload.
std::vector<uint8_t> volatileSlotRecord(int index, const std::vector<uint8_t>& payload);
// Writes the configured slots into video memory (`vram` of `size` bytes).
void writeBmcVolatileSlots(uint8_t* vram, size_t size, const BmcVolatileSlots& slots);

}  // namespace zub
