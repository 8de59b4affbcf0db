#include "Platform.h"

#include "Foundation/PeiCore.h"

namespace zub {

namespace {
constexpr UINTN kPpi = EFI_PEI_PPI_DESCRIPTOR_PPI;
constexpr UINTN kLast = EFI_PEI_PPI_DESCRIPTOR_PPI | EFI_PEI_PPI_DESCRIPTOR_TERMINATE_LIST;
}  // namespace

Platform::Platform(Bmc& bmc) : ipmi(bmc) {
  early_[0] = {kPpi, &gPcdPpiGuid, const_cast<PCD_PPI*>(pcd.ppi())};
  early_[1] = {kPpi, &gEfiPeiReadOnlyVariable2PpiGuid, const_cast<EFI_PEI_READ_ONLY_VARIABLE2_PPI*>(variables.ppi())};
  early_[2] = {kLast, &gZubDebugServicePpiGuid, const_cast<DEBUG_SERVICE_PPI*>(debug.ppi())};
  ipmiDescriptor_ = {kLast, &gEfiPeiIpmiTransportPpiGuid, ipmi.ppi()};
}

Platform::~Platform() {
  if (PcdDatabase::current == &pcd) PcdDatabase::current = nullptr;
  if (VariableService::current == &variables) VariableService::current = nullptr;
  if (DebugService::current == &debug) DebugService::current = nullptr;
  if (IpmiTransport::current == &ipmi) IpmiTransport::current = nullptr;
}

void Platform::activate() {
  PcdDatabase::current = &pcd;
  VariableService::current = &variables;
  DebugService::current = &debug;
  IpmiTransport::current = &ipmi;
}

void Platform::installEarlyServices(PeiCore& core) { core.installPpi(early_); }
void Platform::installIpmiTransport(PeiCore& core) { core.installPpi(&ipmiDescriptor_); }

}  // namespace zub
