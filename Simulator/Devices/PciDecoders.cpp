#include "PciDecoders.h"

#include "PciHierarchy.h"

namespace zub {

namespace {
struct EcamAddress {
  uint8_t bus, device, function;
  uint16_t offset;
};
EcamAddress split(uint64_t offset) {
  return {uint8_t(offset >> 20), uint8_t((offset >> 15) & 31), uint8_t((offset >> 12) & 7), uint16_t(offset & 0xFFF)};
}
}  // namespace

MemoryTarget PciEcam::decode(uint64_t address) {
  if (address < kBase || address - kBase >= kSize) return {};
  uint64_t offset = address - kBase;
  return {this, offset, pci::kConfigSize - (offset & 0xFFF)};
}

uint64_t PciEcam::read(uint64_t offset, unsigned bytes) {
  if (bytes == 8) return read(offset, 4) | read(offset + 4, 4) << 32;
  EcamAddress a = split(offset);
  return pci_.configRead(a.bus, a.device, a.function, a.offset, bytes);
}

void PciEcam::write(uint64_t offset, unsigned bytes, uint64_t value) {
  if (bytes == 8) {
    write(offset, 4, uint32_t(value));
    write(offset + 4, 4, value >> 32);
    return;
  }
  EcamAddress a = split(offset);
  pci_.configWrite(a.bus, a.device, a.function, a.offset, bytes, uint32_t(value));
}

MemoryTarget PciMemoryDecoder::decode(uint64_t address) { return pci_.decodeMemory(address); }

MemoryTarget PciVgaMemoryDecoder::decode(uint64_t address) {
  if (address < kBase || address - kBase >= kSize) return {};
  MemoryDevice* d = pci_.vgaMemoryTarget();
  if (!d) return {};
  return {d, address - kBase, kSize - (address - kBase)};
}

uint32_t PciVgaPorts::ioRead(uint16_t port, unsigned bytes) {
  PortDevice* d = pci_.vgaPortTarget();
  return d ? d->ioRead(port, bytes) : 0xFFFFFFFF;
}

void PciVgaPorts::ioWrite(uint16_t port, unsigned bytes, uint32_t value) {
  if (PortDevice* d = pci_.vgaPortTarget()) d->ioWrite(port, bytes, value);
}

}  // namespace zub
