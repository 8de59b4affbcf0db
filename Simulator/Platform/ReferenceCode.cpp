#include "ReferenceCode.h"

#include <cstring>

#include "Foundation/PeiCore.h"
#include "Machine/Machine.h"

namespace zub {

namespace {
// The services are plain functions the modules call; they reach the boot's reference code
// through this pointer, set while its boot runs.
const ReferenceCode* gActive = nullptr;

UINTN EFIAPI getPcieCfgAddress(UINT8, UINT8 bus, UINT8 device, UINT8 function, UINT32 reg) {
  return UINTN(kPcieConfigBase + (uint64_t(bus) << 20) + (uint64_t(device & 0x1F) << 15) +
               (uint64_t(function & 0x07) << 12) + (reg & 0xFFF));
}

EFI_STATUS EFIAPI getCpuAndRevision(UINT8* cpuType, UINT8* cpuRevision) {
  if (cpuType == nullptr || cpuRevision == nullptr || gActive == nullptr) return EFI_INVALID_PARAMETER;
  *cpuType = gActive->config().cpuType;
  *cpuRevision = gActive->config().cpuRevision;
  return EFI_SUCCESS;
}
}  // namespace

ReferenceCode::ReferenceCode(const ReferenceCodeConfig& config)
    : config_(config), sysHost_(RC_SYSHOST_SIZE, 0), setupData_(kRcSetupDataSize, 0) {
  services_.Revision = 1;
  services_.GetPcieCfgAddress = getPcieCfgAddress;
  services_.GetCpuAndRevision = getCpuAndRevision;
  table_.Signature = RC_HOST_POINTER_TABLE_SIGNATURE;
  table_.Revision = 1;
  table_.SysHost = reinterpret_cast<uintptr_t>(sysHost_.data());
  table_.SetupData = reinterpret_cast<uintptr_t>(setupData_.data());
  table_.SiliconServices = reinterpret_cast<uintptr_t>(&services_);
}

ReferenceCode::~ReferenceCode() {
  if (gActive == this) gActive = nullptr;
}

void ReferenceCode::publish(Machine& machine) {
  gActive = this;
  machine.mm7 = reinterpret_cast<uintptr_t>(&table_);
}

void ReferenceCode::publishHob(PeiCore& core) {
  constexpr uint16_t length = sizeof(EFI_HOB_GUID_TYPE) + sizeof(UINT64);
  auto* hob = static_cast<EFI_HOB_GUID_TYPE*>(core.createHob(EFI_HOB_TYPE_GUID_EXTENSION, length));
  if (hob == nullptr) return;
  hob->Name = gRcHostPointerTableHobGuid;
  UINT64 address = reinterpret_cast<uintptr_t>(&table_);
  std::memcpy(hob + 1, &address, sizeof(address));
}

}  // namespace zub
