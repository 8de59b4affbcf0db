// The reference code's enhanced warning log as the board writes it into the host data:
// the used size (bytes of entries counted from the first entry) and the entries back to
// back from the first entry offset, and the memory warning byte after the log area.
#pragma once
#include <cstdint>
#include <optional>
#include <vector>

#include <RefCode/RcSysHost.h>

namespace zub {

inline constexpr uint32_t kWarningLogAreaSize = RC_SYSHOST_EWL_AREA_END_OFFSET - RC_SYSHOST_EWL_FIRST_ENTRY_OFFSET;
inline constexpr size_t kWarningEntryHeaderSize = 14;   // type, size, reserved, major and minor code

// One log entry: composed from its fields, or given byte for byte.
struct WarningLogEntry {
  uint32_t type = 0;
  uint8_t major = 0, minor = 0;
  std::vector<uint8_t> body;          // from offset 14: location, detail, ...
  std::optional<uint16_t> size;       // the size field; unset: the bytes written
  std::optional<std::vector<uint8_t>> raw;
};

struct WarningLogConfig {
  std::vector<WarningLogEntry> entries;
  std::optional<uint32_t> usedSize;   // unset: the bytes of all entries
  uint8_t memWarning = 0;             // the host-data byte at RC_SYSHOST_MEM_WARNING_OFFSET
};

// The bytes an entry occupies in the log.
std::vector<uint8_t> warningEntryBytes(const WarningLogEntry& entry);
// All entries back to back.
std::vector<uint8_t> warningLogBytes(const WarningLogConfig& log);

// Writes the log into the host data block (RC_SYSHOST_SIZE bytes). The entries must fit
// the log area (the board file checks it); the used size is written as configured.
void writeWarningLog(std::vector<uint8_t>& sysHost, const WarningLogConfig& log);

}  // namespace zub
