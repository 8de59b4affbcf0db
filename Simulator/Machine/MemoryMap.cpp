#include "MemoryMap.h"

namespace zub {

uint64_t loadLe(const uint8_t* p, unsigned bytes) {
  uint64_t v = 0;
  for (unsigned i = 0; i < bytes; ++i) v |= uint64_t(p[i]) << (8 * i);
  return v;
}

void storeLe(uint8_t* p, unsigned bytes, uint64_t value) {
  for (unsigned i = 0; i < bytes; ++i) p[i] = uint8_t(value >> (8 * i));
}

MemoryTarget MemoryMap::decode(uint64_t address) const {
  for (MemoryDecoder* d : decoders_) {
    MemoryTarget t = d->decode(address);
    if (t.device) return t;
  }
  return {};
}

uint64_t MemoryMap::read(uint64_t address, unsigned bytes) const {
  MemoryTarget t = decode(address);
  if (!t.device) return bytes == 8 ? ~uint64_t(0) : (uint64_t(1) << (8 * bytes)) - 1;
  return t.device->read(t.offset, bytes);
}

void MemoryMap::write(uint64_t address, unsigned bytes, uint64_t value) const {
  MemoryTarget t = decode(address);
  if (t.device) t.device->write(t.offset, bytes, value);
}

uint8_t* MemoryMap::hostPointer(uint64_t address, uint64_t length) const {
  MemoryTarget t = decode(address);
  if (!t.device || length > t.limit) return nullptr;
  return t.device->hostPointer(t.offset, length);
}

}  // namespace zub
