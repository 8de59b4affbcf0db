// The board file's diagnosis sections: the CPLD's registers as the BMC and the board set
// them ("cpld").
#pragma once
#include <cstdint>
#include <map>

namespace zub {

class JsonReader;
struct BoardConfig;

struct CpldConfig {
  std::map<uint16_t, uint8_t> registers;   // unset registers read 0xFF
};

// Reads "cpld" from the board file's root object.
void parseBoardDiagnosis(JsonReader& root, BoardConfig& board);

}  // namespace zub
