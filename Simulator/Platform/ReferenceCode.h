// The processor and memory reference code's data as the PEI modules reach it: the host
// pointer table (address in MMX register 7, and in a GUID HOB once memory is available),
// the host data block, the setup data, the silicon services (register access, CPU type)
// and the IIO data block. The board fills the blocks; the firmware only reads them
// (the warning-log check also clears one byte).
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include <PiPei.h>
#include <RefCode/RcHostPointerTable.h>
#include <RefCode/RcSysHost.h>

namespace zub {

class Machine;
class PeiCore;

struct ReferenceCodeConfig {
  uint8_t cpuType = RC_CPU_TYPE_ICX;    // as the CPU-and-revision service reports it
  uint8_t cpuRevision = 0;
};

inline constexpr size_t kRcSetupDataSize = 0x1000;
inline constexpr uint64_t kPcieConfigBase = 0x80000000;

class ReferenceCode {
public:
  explicit ReferenceCode(const ReferenceCodeConfig& config);
  ~ReferenceCode();
  ReferenceCode(const ReferenceCode&) = delete;
  ReferenceCode& operator=(const ReferenceCode&) = delete;

  const ReferenceCodeConfig& config() const { return config_; }
  std::vector<uint8_t>& sysHost() { return sysHost_; }
  std::vector<uint8_t>& setupData() { return setupData_; }
  const RC_HOST_POINTER_TABLE& table() const { return table_; }
  void setIioData(void* block) { table_.IioData = reinterpret_cast<uintptr_t>(block); }

  // Puts the table's address in MMX register 7, as the reference code leaves it.
  void publish(Machine& machine);
  // The GUID HOB with the table's address, created when memory has been discovered.
  void publishHob(PeiCore& core);

private:
  ReferenceCodeConfig config_;
  std::vector<uint8_t> sysHost_;
  std::vector<uint8_t> setupData_;
  RC_SILICON_SERVICES services_{};
  RC_HOST_POINTER_TABLE table_{};
};

}  // namespace zub
