#include "VolatileSlots.h"

#include <cstring>
#include <stdexcept>

#include <zlib.h>

namespace zub {

const std::array<VolatileSlotSpec, 7> kVolatileSlots = {{
    {0, 44, 0x1E2D3C4F, {0xD8D9E4BA, 0x685F, 0x4088, {0xB5, 0xF7, 0x5C, 0x77, 0x9C, 0x23, 0xC7, 0x8C}}},
    {44, 28, 0x22221111, {0xF9B45059, 0xF369, 0x4231, {0x9A, 0x6E, 0xD5, 0x5F, 0x47, 0x1D, 0x2A, 0x05}}},
    {72, 28, 0x76BA1259, {0x96544300, 0xFE73, 0x4A67, {0xBB, 0x50, 0x77, 0x4E, 0xDD, 0xC6, 0x86, 0x59}}},
    {100, 28, 0xC62A2F61, {0x77D2DC81, 0x72CF, 0x42B8, {0xAD, 0x79, 0x05, 0x6D, 0x4B, 0xDA, 0xBD, 0x3E}}},
    {128, 40, 0x1E2BC145, {0x363F47B6, 0x0965, 0x4823, {0xB8, 0x24, 0xF0, 0x41, 0x1D, 0x94, 0xF6, 0x12}}},
    {168, 28, 0xBCC34187, {0xAB4E9308, 0x4217, 0x4B2D, {0x8C, 0xFF, 0xC0, 0x86, 0x7D, 0xAC, 0x0B, 0x1D}}},
    {196, 32, 0x211D0432, {0xC79C4423, 0x2820, 0x4431, {0xA6, 0x6C, 0xBD, 0x9C, 0x87, 0x56, 0x0F, 0x87}}},
}};
const EFI_GUID kBmcBootOptionGuid = {0x545E2334, 0x3C3B, 0x4220, {0x8B, 0x8F, 0xD8, 0x21, 0xE1, 0xA4, 0xDC, 0xB2}};

namespace {
void putLe32(std::vector<uint8_t>& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(uint8_t(v >> (8 * i)));
}
}  // namespace

std::vector<uint8_t> volatileSlotRecord(int index, const std::vector<uint8_t>& payload) {
  const VolatileSlotSpec& s = kVolatileSlots.at(size_t(index));
  if (payload.size() != s.size - kVolatileSlotHeader) throw std::invalid_argument("slot payload size");
  std::vector<uint8_t> r(s.size);
  std::memcpy(r.data() + 4, &s.magic, 4);
  std::memcpy(r.data() + 8, &s.guid, sizeof(EFI_GUID));
  std::memcpy(r.data() + kVolatileSlotHeader, payload.data(), payload.size());
  uint32_t crc = uint32_t(crc32(0, r.data() + 4, uInt(s.size - 4)));
  std::memcpy(r.data(), &crc, 4);
  return r;
}

void writeBmcVolatileSlots(uint8_t* vram, size_t size, const BmcVolatileSlots& slots) {
  if (vram == nullptr || size < kVolatileStoreFromEnd) return;
  uint8_t* store = vram + size - kVolatileStoreFromEnd;
  auto put = [&](int index, const std::vector<uint8_t>& payload) {
    std::vector<uint8_t> r = volatileSlotRecord(index, payload);
    std::memcpy(store + kVolatileSlots[size_t(index)].offset, r.data(), r.size());
  };
  if (slots.bootOption) {
    std::vector<uint8_t> p(reinterpret_cast<const uint8_t*>(&kBmcBootOptionGuid),
                           reinterpret_cast<const uint8_t*>(&kBmcBootOptionGuid) + sizeof(EFI_GUID));
    putLe32(p, *slots.bootOption);
    put(0, p);
  }
  if (slots.debugModeRequest) {
    std::vector<uint8_t> p;
    putLe32(p, *slots.debugModeRequest);
    put(1, p);
  }
  if (slots.optionWords) {
    std::vector<uint8_t> p;
    for (uint32_t w : *slots.optionWords) putLe32(p, w);
    put(4, p);
  }
}

}  // namespace zub
