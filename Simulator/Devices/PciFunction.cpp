#include "PciFunction.h"

#include <algorithm>

namespace zub {

namespace {
constexpr uint32_t kDefaultCommandMask = 0x0547;   // I/O, memory, bus master, parity, SERR, INTx disable
constexpr uint32_t kStatusErrorBits = 0xF900;      // write-1-to-clear error bits

unsigned clampBytes(uint16_t offset, unsigned bytes) {
  return offset >= pci::kConfigSize ? 0 : std::min<unsigned>(bytes, pci::kConfigSize - offset);
}
}  // namespace

PciFunction::PciFunction(const PciIdentity& id, uint8_t headerType) : headerType_(headerType) {
  setConfig(pci::kVendorId, 2, id.vendor);
  setConfig(pci::kDeviceId, 2, id.device);
  setConfig(pci::kRevision, 4, id.classCode << 8 | id.revision);
  setConfig(pci::kHeaderType, 1, headerType);
  setWritable(pci::kCommand, 2, kDefaultCommandMask);
  setWriteOneToClear(pci::kStatus, 2, kStatusErrorBits);
  setWritable(pci::kCacheLine, 2, 0xFFFF);   // cache line size, latency timer
  setWritable(pci::kInterruptLine, 1, 0xFF);
}

uint32_t PciFunction::configRead(uint16_t offset, unsigned bytes) const {
  unsigned n = clampBytes(offset, bytes);
  return n ? uint32_t(loadLe(&config_[offset], n)) : 0;
}

void PciFunction::configWrite(uint16_t offset, unsigned bytes, uint32_t value) {
  unsigned n = clampBytes(offset, bytes);
  for (unsigned i = 0; i < n; ++i) {
    auto v = uint8_t(value >> (8 * i));
    uint8_t& b = config_[offset + i];
    b = uint8_t((b & ~writable_[offset + i]) | (v & writable_[offset + i]));
    b &= ~(v & clearOnOne_[offset + i]);
  }
  if (n) configWritten(offset, n);
}

PciIdentity PciFunction::identity() const {
  return {uint16_t(configRead(pci::kVendorId, 2)), uint16_t(configRead(pci::kDeviceId, 2)),
          configRead(pci::kRevision, 4) >> 8, uint8_t(configRead(pci::kRevision, 1))};
}

void PciFunction::setConfig(uint16_t offset, unsigned bytes, uint32_t value) {
  storeLe(&config_[offset], clampBytes(offset, bytes), value);
}

void PciFunction::setWritable(uint16_t offset, unsigned bytes, uint32_t mask) {
  storeLe(&writable_[offset], clampBytes(offset, bytes), mask);
}

void PciFunction::setWriteOneToClear(uint16_t offset, unsigned bytes, uint32_t mask) {
  storeLe(&clearOnOne_[offset], clampBytes(offset, bytes), mask);
}

void PciFunction::defineMemoryBar(unsigned index, uint32_t size, bool prefetchable) {
  if (index >= barCount()) return;
  auto offset = uint16_t(pci::kBar0 + 4 * index);
  if (size != 0 && size < 16) size = 16;   // the smallest memory BAR
  barSizes_[index] = size;
  setConfig(offset, 4, size && prefetchable ? pci::kBarPrefetchable : 0);
  setWritable(offset, 4, size ? ~(size - 1) & ~0xFu : 0);
}

uint32_t PciFunction::barBase(unsigned index) const {
  if (barSize(index) == 0) return 0;
  return configRead(uint16_t(pci::kBar0 + 4 * index), 4) & ~0xFu;
}

MemoryTarget PciFunction::decodeMemory(uint64_t address) {
  if (!memoryEnabled()) return {};
  for (unsigned i = 0; i < barCount(); ++i) {
    uint32_t size = barSizes_[i];
    if (size == 0) continue;
    uint32_t base = barBase(i);
    if (base == 0 || address < base || address - base >= size) continue;
    MemoryDevice* device = barDevice(i);
    if (!device) return {};
    return {device, address - base, size - (address - base)};
  }
  return {};
}

void PciFunction::markMultiFunction() {
  setConfig(pci::kHeaderType, 1, configRead(pci::kHeaderType, 1) | pci::kMultiFunction);
}

}  // namespace zub
