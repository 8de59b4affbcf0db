// The platform's own firmware services for one boot: PCD database, variable service,
// debug print service and IPMI transport, with the descriptors that install them.
#pragma once
#include <PiPei.h>

#include "DebugService.h"
#include "IpmiTransport.h"
#include "PcdDatabase.h"
#include "VariableService.h"

namespace zub {

class PeiCore;
class Bmc;

class Platform {
public:
  explicit Platform(Bmc& bmc);
  ~Platform();
  Platform(const Platform&) = delete;
  Platform& operator=(const Platform&) = delete;

  PcdDatabase pcd;
  VariableService variables;
  DebugService debug;
  IpmiTransport ipmi;

  // Make these the services the PPI functions reach.
  void activate();
  // The services present from the start of PEI: PCD, variables, debug print.
  void installEarlyServices(PeiCore& core);
  void installIpmiTransport(PeiCore& core);

private:
  EFI_PEI_PPI_DESCRIPTOR early_[3]{};
  EFI_PEI_PPI_DESCRIPTOR ipmiDescriptor_{};
};

}  // namespace zub
