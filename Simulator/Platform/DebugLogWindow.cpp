#include "DebugLogWindow.h"

#include <algorithm>
#include <cstring>

#include <ZubPcdTokens.h>

#include "DebugService.h"
#include "Machine/Machine.h"
#include "PcdDatabase.h"

namespace zub {

void attachDebugLogWindow(DebugService& debug, Machine& machine, PcdDatabase& pcd) {
  debug.addSink([&machine, &pcd](const std::string& text) {
    uint64_t base = pcd.number(PcdZubLogBufferBase_TOKEN), size = pcd.number(PcdZubLogBufferSize_TOKEN);
    if (base == 0 || size <= kLogWindowHeaderSize) return;
    uint8_t* w = machine.memory.hostPointer(base, size);
    if (!w || loadLe(w, 4) != kLogWindowSignature) return;
    uint64_t used = std::min<uint64_t>(loadLe(w + 4, 4), size - kLogWindowHeaderSize);
    size_t n = std::min<uint64_t>(text.size(), size - kLogWindowHeaderSize - used);
    std::memcpy(w + kLogWindowHeaderSize + used, text.data(), n);
    storeLe(w + 4, 4, used + n);
  });
}

std::optional<std::string> capturedDebugLog(const uint8_t* window, size_t size) {
  if (size < kLogWindowHeaderSize || loadLe(window, 4) != kLogWindowSignature) return std::nullopt;
  uint64_t length = std::min<uint64_t>(loadLe(window + 12, 4), size);
  uint64_t used = loadLe(window + 4, 4);
  if (length < kLogWindowHeaderSize) return std::string();
  used = std::min<uint64_t>(used, length - kLogWindowHeaderSize);
  return std::string(reinterpret_cast<const char*>(window + kLogWindowHeaderSize), size_t(used));
}

}  // namespace zub
