// The board's chipset and legacy devices, built from one plain config and attached to a
// Machine: CMOS/RTC (0x70-0x73), ACPI PM timer (where the PMC decodes it), reset control
// (0xCF9), POST ports (0x80, 0x84, 0x85), the PCH private configuration space
// (0xFD000000) and the PCI Express hierarchy (ECAM at 0x80000000) with the root complex
// 0:0.0, root port 0:1C.0, LPC bridge 0:1F.0, PMC 0:1F.2 and SPI controller 0:1F.5, plus
// the topology behind the root port and any further bus 0 functions from the config.
//
//   zub::Machine machine;
//   zub::Chipset chipset(machine, config, {{"ast2500", makeAst2500}});
//
// The chipset adds its memory decoders (PCR, ECAM, BARs, VGA memory) at construction;
// decoders the board adds later (RAM, flash, the CPLD) are asked after them.
#pragma once
#include <cstdint>
#include <vector>

#include <Machine/Machine.h>

#include "AcpiPmTimer.h"
#include "Cmos.h"
#include "LpcBridge.h"
#include "PciBridge.h"
#include "PciHierarchy.h"
#include "PciTopology.h"
#include "Pcr.h"
#include "Pmc.h"
#include "PostPorts.h"
#include "ResetControl.h"
#include "RootComplex.h"
#include "SpiController.h"

namespace zub {

// The video path of the board: the BMC's PCIe-to-PCI bridge with the AST2500 behind it
// (BAR0 video memory, BAR1 registers).
std::vector<PciNodeConfig> defaultVideoPath();

struct ChipsetConfig {
  CmosConfig cmos;
  RootComplexConfig rootComplex;
  PciIdentity rootPort{0x8086, 0xA190, 0x060400, 0x09};
  LpcBridgeConfig lpc;
  PmcConfig pmc;
  SpiControllerConfig spi;
  std::vector<PciNodeConfig> behindRootPort = defaultVideoPath();
  std::vector<PciNodeConfig> moreOnBus0;
};

class Chipset {
public:
  static constexpr uint8_t kRootPortDevice = 0x1C, kPchDevice = 0x1F;
  static constexpr uint8_t kLpcFunction = 0, kPmcFunction = 2, kSpiFunction = 5;

  explicit Chipset(Machine& machine);   // the default board
  Chipset(Machine& machine, const ChipsetConfig& config, const PciModelFactories& factories = {});
  Chipset(const Chipset&) = delete;
  Chipset& operator=(const Chipset&) = delete;

  Cmos cmos;
  AcpiPmTimer acpiTimer;
  ResetControl resetControl;
  PostPorts postPorts;
  Pcr pcr;
  PciHierarchy pci;
  RootComplex& rootComplex;
  PciBridge& rootPort;
  LpcBridge& lpc;
  Pmc& pmc;
  SpiController& spi;

  // The LPC generic memory window at `base` decodes only while both range registers
  // hold it enabled: the LPC bridge's 0x98 and the DMI port's copy in the PCR space.
  bool lpcMemoryWindowOpen(uint32_t base) const;
};

}  // namespace zub
