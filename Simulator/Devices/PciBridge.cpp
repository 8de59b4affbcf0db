#include "PciBridge.h"

namespace zub {

PciBridge::PciBridge(const PciIdentity& identity) : PciFunction(identity, 1) {
  setWritable(pci::kBusNumbers, 4, 0xFFFFFFFF);
  setWritable(pci::kIoBase, 2, 0xF0F0);
  setWriteOneToClear(pci::kSecondaryStatus, 2, 0xF900);
  setWritable(pci::kMemoryBase, 4, 0xFFF0FFF0);
  setWritable(pci::kPrefetchableBase, 4, 0xFFF0FFF0);
  setWritable(pci::kBridgeControl, 2, 0x007F);
}

PciWindow PciBridge::window(uint16_t offset) const {
  uint32_t reg = configRead(offset, 4);
  return {(reg & 0xFFF0) << 16, (reg & 0xFFF00000) | 0xFFFFF};
}

}  // namespace zub
