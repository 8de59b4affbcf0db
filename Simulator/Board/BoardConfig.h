// A board as the board file describes it. Every field has the default of the embedded
// default board's schema; the board file overrides what it names.
#pragma once
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "Bmc/Bmc.h"
#include "BoardDiagnosis.h"
#include "BoardMemory.h"
#include "BoardFlash.h"
#include "BoardNvram.h"
#include "Bmc/BootOptionsResponder.h"
#include "Devices/PciTopology.h"
#include "Machine/Machine.h"
#include "Outside/IioInitialisation.h"
#include "Outside/Timeline.h"
#include "Outside/WarningLogBuilder.h"
#include "Platform/ReferenceCode.h"
#include "Platform/VariableService.h"

namespace zub {

struct RtcSettings {
  int64_t startEpoch = 1796963400;   // 2026-12-11 04:30:00 UTC
  bool binary = false;               // register B bit 2
  bool hour24 = true;                // register B bit 1
  uint8_t registerD = 0x80;          // bit 7: valid RAM and time
};

struct PcdOverride {
  uint32_t token;
  bool isText = false;
  uint64_t number = 0;
  std::vector<uint8_t> bytes;
};

struct BoardConfig {
  std::string name = "board";
  std::map<uint32_t, CpuidLeaf> cpuid;          // leaf 1 EAX decides the CPU generation
  RtcSettings rtc;
  std::map<uint8_t, uint8_t> cmosStandard;      // index 0x00-0x7F: initial bytes (no saved state)
  std::map<uint8_t, uint8_t> cmosUpper;         // index 0x00-0x7F of the upper bank
  std::vector<Variable> nvram;
  std::vector<PcdOverride> pcds;
  BmcConfig bmc;
  BmcBootOptions bmcBootOptions;
  std::vector<TimelineStep> timeline;
  std::vector<std::string> modules;             // empty: every module of the firmware
  std::vector<std::string> dispatchOrder;
  uint32_t videoMemoryMb = 16;
  // PCI functions: behind the root port 0:1C.0 (absent: the BMC's bridge with the AST2500
  // behind it, its BAR0 sized by videoMemoryMb) and further functions on bus 0.
  std::optional<std::vector<PciNodeConfig>> behindRootPort;
  std::vector<PciNodeConfig> moreOnBus0;
  IioDataBytes iioData;                         // the reference code's IIO data block
  CpldConfig cpld;                              // the CPLD's registers
  BoardTopology topology;                       // what a diagnosis can disable
  BoardFaults faults;                           // injected faults, the watchdog, the later firmware
  FlashConfig flash;                            // the SPI flash's BIOS region
  NvramStoreConfig nvramStore;                  // the NVRAM store in the flash, the pre-reset callbacks
  ReferenceCodeConfig refCode;                  // the reference code's CPU-and-revision service
  MemoryTestConfig memory;                      // the reference code's memory test data
  WarningLogConfig warningLog;                  // the reference code's enhanced warning log
};

}  // namespace zub
