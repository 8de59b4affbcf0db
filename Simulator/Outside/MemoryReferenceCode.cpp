#include "MemoryReferenceCode.h"

#include "DiagnosisRecord.h"
#include "Devices/Cmos.h"
#include "Machine/EventLog.h"
#include "Watchdog.h"

namespace zub {

void runMemoryReferenceCode(Cmos& cmos, const BoardTopology& topology, const BoardFaults& faults, Machine& machine,
                            EventLog& events) {
  const DiagnosisRecord before = DiagnosisRecord::read(cmos);
  DiagnosisRecord r = before;
  bool persistent = topology.hasPersistentMemory();
  r.exceptionFlags = uint8_t(persistent ? r.exceptionFlags | DiagnosisRecord::kPersistentMemory
                                        : r.exceptionFlags & ~DiagnosisRecord::kPersistentMemory);
  nlohmann::json event = {{"persistent_memory", persistent}};
  if (const auto& f = faults.memoryFatal) {
    switch (f->kind) {
      case MemoryFatalError::Kind::Internal: r.exceptionFlags |= DiagnosisRecord::kExceptionInternal; break;
      case MemoryFatalError::Kind::Other:
        r.exceptionFlags = uint8_t((r.exceptionFlags & 0x0F) | DiagnosisRecord::kExceptionOther | (f->minor & 0x0F) << 4);
        break;
      case MemoryFatalError::Kind::Code: break;
    }
    r.exceptionCode = f->code;
    event["fatal_error"] = {{"exception_flags", r.exceptionFlags}, {"exception_code", r.exceptionCode}};
  }
  if (r == before && !faults.memoryFatal) return;
  r.write(cmos);
  events.add("memory_init", event);
  if (faults.memoryFatal)
    watchdogReset(machine, events, faults.watchdogTimeoutNs,
                  "the memory reference code stopped on fatal error " + std::to_string(r.exceptionCode));
}

}  // namespace zub
