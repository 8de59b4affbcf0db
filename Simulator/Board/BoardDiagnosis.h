// The board file's diagnosis sections: the CPLD's registers as the BMC and the board set
// them ("cpld"), the devices a diagnosis can disable ("topology"), the injected faults
// ("faults") and whether the firmware after PEI runs ("later_firmware").
#pragma once
#include <cstdint>
#include <map>

#include "Outside/BoardTopology.h"

namespace zub {

class JsonReader;
struct BoardConfig;

struct CpldConfig {
  std::map<uint16_t, uint8_t> registers;   // unset registers read 0xFF
};

// Reads "cpld", "topology", "faults" and "later_firmware" from the board file's root object.
void parseBoardDiagnosis(JsonReader& root, BoardConfig& board);

}  // namespace zub
