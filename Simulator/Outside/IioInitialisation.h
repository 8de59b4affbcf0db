// The reference code's IIO initialisation, as far as the platform sees it: it builds its
// IIO data block (here from the board file) and calls the platform's IIO hooks, each with
// the block first. Without the hooks PPI it skips the calls.
#pragma once
#include <cstddef>
#include <cstdint>
#include <map>
#include <vector>

namespace zub {

class PeiCore;
class EventLog;

inline constexpr size_t kIioDataBlockSize = 0x4000;

// offset → bytes written into an otherwise zero block
using IioDataBytes = std::map<uint32_t, std::vector<uint8_t>>;

void runIioInitialisation(PeiCore& core, EventLog& events, const IioDataBytes& bytes);

}  // namespace zub
