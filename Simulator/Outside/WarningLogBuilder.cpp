#include "WarningLogBuilder.h"

#include <algorithm>
#include <stdexcept>

namespace zub {

namespace {
void putLe(std::vector<uint8_t>& b, size_t at, uint64_t value, unsigned bytes) {
  for (unsigned i = 0; i < bytes; ++i) b[at + i] = uint8_t(value >> (8 * i));
}
}  // namespace

std::vector<uint8_t> warningEntryBytes(const WarningLogEntry& e) {
  if (e.raw) return *e.raw;
  std::vector<uint8_t> b(kWarningEntryHeaderSize);
  b.insert(b.end(), e.body.begin(), e.body.end());
  putLe(b, 0, e.type, 4);
  putLe(b, 4, e.size.value_or(uint16_t(std::min<size_t>(b.size(), 0xFFFF))), 2);
  b[12] = e.major;
  b[13] = e.minor;
  return b;
}

std::vector<uint8_t> warningLogBytes(const WarningLogConfig& log) {
  std::vector<uint8_t> all;
  for (const auto& e : log.entries) {
    auto b = warningEntryBytes(e);
    all.insert(all.end(), b.begin(), b.end());
  }
  return all;
}

void writeWarningLog(std::vector<uint8_t>& sysHost, const WarningLogConfig& log) {
  if (sysHost.size() < RC_SYSHOST_SIZE) throw std::logic_error("host data block smaller than RC_SYSHOST_SIZE");
  std::vector<uint8_t> entries = warningLogBytes(log);
  if (entries.size() > kWarningLogAreaSize) throw std::logic_error("warning log entries exceed the log area");
  std::copy(entries.begin(), entries.end(), sysHost.begin() + RC_SYSHOST_EWL_FIRST_ENTRY_OFFSET);
  putLe(sysHost, RC_SYSHOST_EWL_USED_SIZE_OFFSET, log.usedSize.value_or(uint32_t(entries.size())), 4);
  sysHost[RC_SYSHOST_MEM_WARNING_OFFSET] = log.memWarning;
}

}  // namespace zub
