// The device-disabling firmware of a diagnosis boot: it reads the diagnosis record that
// FaultIsolatePei left in CMOS for this boot and disables the device group the state
// names (docs/diagnosis.md has every rule). Where a count runs over numbers the board
// does not have (TestIndex counting down from 0xFF, IIO port index 1), it moves
// TestIndex onto the next device the board really has; in Phase 0 Step 1 it writes the
// core and the memory module of the minimum configuration.
#pragma once
#include <cstdint>
#include <set>
#include <string>

#include "BoardTopology.h"
#include "DiagnosisRecord.h"

namespace zub {

struct DisabledDevices {
  std::set<Device> devices;   // a disabled CPU takes its cores, memory modules and IIO ports with it
  std::string rule;           // what the state asked for, in words

  bool enabled(const Device& d) const;
};

// Applies the rule of `record`'s state: returns what is disabled and rewrites TestIndex
// (and in Phase 0 Step 1 the core byte) in `record` where the rules say so.
// `cpldRequest` is CPLD register 0x13: bit 2 lets the isolation boot disable the failed device.
DisabledDevices disableDevices(DiagnosisRecord& record, const BoardTopology& topology, uint8_t cpldRequest);

}  // namespace zub
