#include "DebugService.h"

#include <Library/PrintLib.h>

namespace zub {

DebugService* DebugService::current = nullptr;

DebugService::DebugService() {
  ppi_.DebugPrint = [](UINTN, const CHAR8* format, VA_LIST marker) {
    char buffer[0x1000];
    AsciiVSPrint(buffer, sizeof buffer, format, marker);
    current->write(buffer);
  };
  ppi_.DebugAssert = [](const CHAR8* file, UINTN line, const CHAR8* description) {
    current->assertions_++;
    current->write(std::string("ASSERT ") + (file ? file : "?") + "(" + std::to_string(line) + "): " +
                   (description ? description : "") + "\n");
  };
}

void DebugService::write(const std::string& text) {
  log_ += text;
  for (auto& s : sinks_) s(text);
}

}  // namespace zub
