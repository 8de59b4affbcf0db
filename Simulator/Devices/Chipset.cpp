#include "Chipset.h"

namespace zub {

std::vector<PciNodeConfig> defaultVideoPath() {
  PciNodeConfig video;
  video.identity = {0x1A03, 0x2000, 0x030000, 0x41};
  video.barSizes = {0x01000000, 0x00020000};
  video.model = "ast2500";
  PciNodeConfig bridge;
  bridge.identity = {0x1A03, 0x1150, 0x060400, 0x04};
  bridge.bridge = true;
  bridge.children = {video};
  return {bridge};
}

namespace {
const ChipsetConfig& defaultConfig() {
  static const ChipsetConfig config;
  return config;
}
}  // namespace

Chipset::Chipset(Machine& machine) : Chipset(machine, defaultConfig()) {}

Chipset::Chipset(Machine& machine, const ChipsetConfig& config, const PciModelFactories& factories)
    : cmos(machine, config.cmos),
      acpiTimer(machine),
      resetControl(machine),
      postPorts(machine),
      pcr(machine),
      rootComplex(pci.add<RootComplex>(pci.bus0(), 0, 0, config.rootComplex)),
      rootPort(pci.add<PciBridge>(pci.bus0(), kRootPortDevice, 0, config.rootPort)),
      lpc(pci.add<LpcBridge>(pci.bus0(), kPchDevice, kLpcFunction, config.lpc)),
      pmc(pci.add<Pmc>(pci.bus0(), kPchDevice, kPmcFunction, config.pmc)),
      spi(pci.add<SpiController>(pci.bus0(), kPchDevice, kSpiFunction, config.spi)) {
  buildPciTopology(pci, rootPort.secondary(), config.behindRootPort, factories);
  buildPciTopology(pci, pci.bus0(), config.moreOnBus0, factories);
  pmc.onAcpiDecode = [this](std::optional<uint16_t> base) { acpiTimer.decodeAt(base); };
  pci.attach(machine);
}

bool Chipset::lpcMemoryWindowOpen(uint32_t base) const {
  uint32_t dmi = pcr.readRegister(Pcr::kDmiPort, Pcr::kDmiLpcGenericMemoryRange);
  bool dmiOpen = (dmi & LpcBridge::kRangeEnable) &&
                 (dmi & LpcBridge::kRangeBaseMask) == (base & LpcBridge::kRangeBaseMask);
  return dmiOpen && lpc.memoryWindowOpen(base);
}

}  // namespace zub
