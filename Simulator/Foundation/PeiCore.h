// The PEI Foundation: the services table handed to every module, the PPI database with
// its notifications, the status-code router with its RSC listeners, the HOB list, the
// pool, the firmware volumes and the PCI configuration PPI. One PeiCore serves one boot.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include <PiPei.h>
#include <Ppi/ReportStatusCodeHandler.h>

#include "HobList.h"
#include "Machine/EventLog.h"
#include "Machine/Machine.h"
#include "Pool.h"
#include "FirmwareVolume.h"

namespace zub {

class PeiCore {
public:
  PeiCore(Machine& machine, EventLog& events);
  ~PeiCore();
  PeiCore(const PeiCore&) = delete;
  PeiCore& operator=(const PeiCore&) = delete;

  // The pointer modules receive (CONST EFI_PEI_SERVICES **).
  const EFI_PEI_SERVICES** services() { return const_cast<const EFI_PEI_SERVICES**>(&holder_.table); }
  static PeiCore* fromServices(const EFI_PEI_SERVICES** services);
  static PeiCore* current() { return current_; }   // the PeiCore of the running boot

  // The services, callable by the board's own code as well.
  EFI_STATUS installPpi(const EFI_PEI_PPI_DESCRIPTOR* list);
  EFI_STATUS locatePpi(const EFI_GUID& guid, size_t instance, EFI_PEI_PPI_DESCRIPTOR** descriptor, void** ppi);
  EFI_STATUS notifyPpi(const EFI_PEI_NOTIFY_DESCRIPTOR* list);
  bool isInstalled(const EFI_GUID& guid) const;
  EFI_STATUS reportStatusCode(EFI_STATUS_CODE_TYPE type, EFI_STATUS_CODE_VALUE value, uint32_t instance,
                              const EFI_GUID* callerId, const EFI_STATUS_CODE_DATA* data);
  EFI_STATUS registerRscListener(EFI_PEI_RSC_HANDLER_CALLBACK callback);
  EFI_STATUS unregisterRscListener(EFI_PEI_RSC_HANDLER_CALLBACK callback);
  void* createHob(uint16_t type, uint16_t length);
  HobList& hobs() { return hobs_; }
  Pool& pool() { return pool_; }

  // Firmware volumes the services enumerate: physical base and size (decoded through the
  // machine's memory map, normally the flash below 4 GB).
  void addFirmwareVolume(uint64_t base, uint64_t size) { volumes_.push_back({base, size}); }

  // Names PPIs in the event log: GUID → C name (from the packages' .dec files).
  void setGuidNames(std::function<std::string(const EFI_GUID&)> namer) { guidName_ = std::move(namer); }
  std::string guidName(const EFI_GUID& guid) const;

  // Who is running: set by the dispatcher around module entries (for the event log).
  void setRunningModule(const std::string& name) { running_ = name; }
  const std::string& runningModule() const { return running_; }

  // Make this the current core and its machine the attached bus.
  void activate();
  void deactivate();

private:
  struct Holder {
    EFI_PEI_SERVICES* table;
    PeiCore* self;
  };
  struct Installed {
    const EFI_PEI_PPI_DESCRIPTOR* descriptor;
  };
  struct Notification {
    const EFI_PEI_NOTIFY_DESCRIPTOR* descriptor;
    bool fired;
  };
  struct Volume {
    uint64_t base, size;
  };

  void runNotifications();
  std::vector<FfsFileView> filesOfAllVolumes();
  void buildServicesTable();

  Machine& machine_;
  EventLog& events_;
  EFI_PEI_SERVICES table_{};
  Holder holder_{};
  EFI_PEI_PCI_CFG2_PPI pciCfg_{};
  EFI_PEI_RSC_HANDLER_PPI rscPpi_{};
  EFI_PEI_PPI_DESCRIPTOR rscDescriptor_{};
  std::vector<Installed> ppis_;
  std::vector<Notification> notifications_;
  std::vector<EFI_PEI_RSC_HANDLER_CALLBACK> listeners_;
  std::vector<Volume> volumes_;
  HobList hobs_;
  Pool pool_;
  std::function<std::string(const EFI_GUID&)> guidName_;
  std::string running_;
  std::vector<uintptr_t> idt_;
  int statusCodeDepth_ = 0;
  bool notifying_ = false;
  static PeiCore* current_;
  friend struct PeiServicesThunks;
};

}  // namespace zub
