// The platform's debug output into the PEI debug-log window: once a window is declared
// (its PCDs set and its header signed at its base), every debug message is appended after
// the 44-byte header, the way the board's debug-output library writes it. The header's
// second word (zero when declared) counts the text bytes written; text that does not fit
// in the window is dropped.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

namespace zub {

class DebugService;
class Machine;
class PcdDatabase;

inline constexpr uint32_t kLogWindowSignature = 0x1BAEF862;
inline constexpr uint32_t kLogWindowHeaderSize = 44;

void attachDebugLogWindow(DebugService& debug, Machine& machine, PcdDatabase& pcd);

// The captured text of a window image (header first), or nullopt when it holds no window.
std::optional<std::string> capturedDebugLog(const uint8_t* window, size_t size);

}  // namespace zub
