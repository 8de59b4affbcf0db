#include "PeiCore.h"

#include <algorithm>
#include <cstring>

#include "FirmwareVolume.h"
#include "Guid.h"

namespace zub {

PeiCore* PeiCore::current_ = nullptr;

#define CALLER __builtin_return_address(0)

// The services table's entries: plain functions that find their PeiCore and forward.
struct PeiServicesThunks {
  static PeiCore* core(const EFI_PEI_SERVICES** s) { return PeiCore::fromServices(s); }

  static EFI_STATUS EFIAPI InstallPpi(const EFI_PEI_SERVICES** s, const EFI_PEI_PPI_DESCRIPTOR* list) {
    return core(s)->installPpi(list);
  }
  static EFI_STATUS EFIAPI ReInstallPpi(const EFI_PEI_SERVICES**, const EFI_PEI_PPI_DESCRIPTOR*,
                                        const EFI_PEI_PPI_DESCRIPTOR*) {
    return EFI_UNSUPPORTED;
  }
  static EFI_STATUS EFIAPI LocatePpi(const EFI_PEI_SERVICES** s, const EFI_GUID* guid, UINTN instance,
                                     EFI_PEI_PPI_DESCRIPTOR** descriptor, VOID** ppi) {
    if (!guid || !ppi) return EFI_INVALID_PARAMETER;
    return core(s)->locatePpi(*guid, instance, descriptor, ppi);
  }
  static EFI_STATUS EFIAPI NotifyPpi(const EFI_PEI_SERVICES** s, const EFI_PEI_NOTIFY_DESCRIPTOR* list) {
    return core(s)->notifyPpi(list);
  }
  static EFI_STATUS EFIAPI GetBootMode(const EFI_PEI_SERVICES** s, EFI_BOOT_MODE* mode) {
    if (!mode) return EFI_INVALID_PARAMETER;
    *mode = reinterpret_cast<EFI_HOB_HANDOFF_INFO_TABLE*>(core(s)->hobs().head())->BootMode;
    return EFI_SUCCESS;
  }
  static EFI_STATUS EFIAPI SetBootMode(const EFI_PEI_SERVICES** s, EFI_BOOT_MODE mode) {
    reinterpret_cast<EFI_HOB_HANDOFF_INFO_TABLE*>(core(s)->hobs().head())->BootMode = mode;
    return EFI_SUCCESS;
  }
  static EFI_STATUS EFIAPI GetHobList(const EFI_PEI_SERVICES** s, VOID** list) {
    if (!list) return EFI_INVALID_PARAMETER;
    *list = core(s)->hobs().head();
    return EFI_SUCCESS;
  }
  static EFI_STATUS EFIAPI CreateHob(const EFI_PEI_SERVICES** s, UINT16 type, UINT16 length, VOID** hob) {
    if (!hob) return EFI_INVALID_PARAMETER;
    *hob = core(s)->createHob(type, length);
    return *hob ? EFI_SUCCESS : EFI_OUT_OF_RESOURCES;
  }
  static EFI_STATUS EFIAPI FfsFindNextVolume(const EFI_PEI_SERVICES** s, UINTN instance, EFI_PEI_FV_HANDLE* handle) {
    if (!handle) return EFI_INVALID_PARAMETER;
    PeiCore* c = core(s);
    if (instance >= c->volumes_.size()) return EFI_NOT_FOUND;
    const auto& v = c->volumes_[instance];
    *handle = c->machine_.mapMemory(v.base, v.size, CALLER);
    return *handle ? EFI_SUCCESS : EFI_NOT_FOUND;
  }
  static EFI_STATUS EFIAPI FfsFindNextFile(const EFI_PEI_SERVICES**, EFI_FV_FILETYPE, const EFI_PEI_FV_HANDLE,
                                           EFI_PEI_FILE_HANDLE*) {
    return EFI_UNSUPPORTED;
  }
  static EFI_STATUS EFIAPI FfsFindSectionData(const EFI_PEI_SERVICES** s, EFI_SECTION_TYPE type,
                                              EFI_PEI_FILE_HANDLE file, VOID** data) {
    if (!file || !data) return EFI_INVALID_PARAMETER;
    for (const auto& f : core(s)->filesOfAllVolumes()) {
      if (f.header != file) continue;
      const uint8_t* d = findSectionData(f, type);
      *data = const_cast<uint8_t*>(d);
      return d ? EFI_SUCCESS : EFI_NOT_FOUND;
    }
    return EFI_NOT_FOUND;
  }
  static EFI_STATUS EFIAPI InstallPeiMemory(const EFI_PEI_SERVICES**, EFI_PHYSICAL_ADDRESS, UINT64) {
    return EFI_SUCCESS;
  }
  static EFI_STATUS EFIAPI AllocatePages(const EFI_PEI_SERVICES** s, UINTN, UINTN pages, EFI_PHYSICAL_ADDRESS* memory) {
    if (!memory) return EFI_INVALID_PARAMETER;
    void* p = pages > (SIZE_MAX >> 12) ? nullptr : core(s)->pool().allocate(pages << 12, 4096);
    if (!p) return EFI_OUT_OF_RESOURCES;
    *memory = reinterpret_cast<uintptr_t>(p);
    return EFI_SUCCESS;
  }
  static EFI_STATUS EFIAPI AllocatePool(const EFI_PEI_SERVICES** s, UINTN size, VOID** buffer) {
    if (!buffer) return EFI_INVALID_PARAMETER;
    *buffer = core(s)->pool().allocate(size);
    return *buffer ? EFI_SUCCESS : EFI_OUT_OF_RESOURCES;
  }
  static VOID EFIAPI CopyMemService(VOID* d, VOID* s, UINTN n) { std::memmove(d, s, n); }
  static VOID EFIAPI SetMemService(VOID* b, UINTN n, UINT8 v) { std::memset(b, v, n); }
  static EFI_STATUS EFIAPI ReportStatusCode(const EFI_PEI_SERVICES** s, EFI_STATUS_CODE_TYPE type,
                                            EFI_STATUS_CODE_VALUE value, UINT32 instance, const EFI_GUID* caller,
                                            const EFI_STATUS_CODE_DATA* data) {
    return core(s)->reportStatusCode(type, value, instance, caller, data);
  }
  static EFI_STATUS EFIAPI ResetSystem(const EFI_PEI_SERVICES** s) {
    core(s)->machine_.endBoot(BootEndKind::ColdReset, "PEI ResetSystem service");
  }
  static EFI_STATUS EFIAPI FfsFindFileByName(const EFI_GUID* name, EFI_PEI_FV_HANDLE volume, EFI_PEI_FILE_HANDLE* file) {
    if (!name || !volume || !file) return EFI_INVALID_PARAMETER;
    PeiCore* c = PeiCore::current();
    for (const auto& v : c->volumes_) {
      auto* fv = c->machine_.mapMemory(v.base, v.size, CALLER);
      if (fv != volume) continue;
      for (const auto& f : listFfsFiles(fv, v.size)) {
        if (*reinterpret_cast<const EFI_GUID*>(f.header) == *name) {
          *file = const_cast<uint8_t*>(f.header);
          return EFI_SUCCESS;
        }
      }
      return EFI_NOT_FOUND;
    }
    return EFI_INVALID_PARAMETER;
  }
  static EFI_STATUS EFIAPI Unsupported() { return EFI_UNSUPPORTED; }

  static EFI_STATUS EFIAPI PciCfgAccess(const EFI_PEI_SERVICES** s, EFI_PEI_PCI_CFG_PPI_WIDTH width, UINT64 address,
                                        VOID* buffer, bool write, const void* caller) {
    if (!buffer || width > EfiPeiPciCfgWidthUint32) return EFI_INVALID_PARAMETER;
    uint64_t reg = (address >> 32) & 0xFFF;
    if (reg == 0) reg = address & 0xFF;
    uint64_t ecam = 0x80000000ull | (((address >> 24) & 0xFF) << 20) | (((address >> 16) & 0x1F) << 15) |
                    (((address >> 8) & 0x7) << 12) | reg;
    unsigned bytes = 1u << width;
    Machine& m = core(s)->machine_;
    if (write) {
      uint64_t v = 0;
      std::memcpy(&v, buffer, bytes);
      m.mmioWrite(ecam, bytes, v, caller);
    } else {
      uint64_t v = m.mmioRead(ecam, bytes, caller);
      std::memcpy(buffer, &v, bytes);
    }
    return EFI_SUCCESS;
  }
  static EFI_STATUS EFIAPI PciCfgRead(const EFI_PEI_SERVICES** s, const EFI_PEI_PCI_CFG2_PPI*,
                                      EFI_PEI_PCI_CFG_PPI_WIDTH width, UINT64 address, VOID* buffer) {
    return PciCfgAccess(s, width, address, buffer, false, CALLER);
  }
  static EFI_STATUS EFIAPI PciCfgWrite(const EFI_PEI_SERVICES** s, const EFI_PEI_PCI_CFG2_PPI*,
                                       EFI_PEI_PCI_CFG_PPI_WIDTH width, UINT64 address, VOID* buffer) {
    return PciCfgAccess(s, width, address, buffer, true, CALLER);
  }
  static EFI_STATUS EFIAPI PciCfgModify(const EFI_PEI_SERVICES** s, const EFI_PEI_PCI_CFG2_PPI*,
                                        EFI_PEI_PCI_CFG_PPI_WIDTH width, UINT64 address, VOID* set, VOID* clear) {
    if (!set || !clear) return EFI_INVALID_PARAMETER;
    uint32_t v = 0, a = 0, c = 0;
    EFI_STATUS st = PciCfgAccess(s, width, address, &v, false, CALLER);
    if (EFI_ERROR(st)) return st;
    unsigned bytes = 1u << width;
    std::memcpy(&a, set, bytes);
    std::memcpy(&c, clear, bytes);
    v = (v & ~c) | a;
    return PciCfgAccess(s, width, address, &v, true, CALLER);
  }

  static EFI_STATUS EFIAPI RscRegister(EFI_PEI_RSC_HANDLER_CALLBACK cb) {
    return PeiCore::current()->registerRscListener(cb);
  }
  static EFI_STATUS EFIAPI RscUnregister(EFI_PEI_RSC_HANDLER_CALLBACK cb) {
    return PeiCore::current()->unregisterRscListener(cb);
  }
};

PeiCore::PeiCore(Machine& machine, EventLog& events) : machine_(machine), events_(events) {
  buildServicesTable();
  holder_ = {&table_, this};
  idt_.assign(1 + 512, 0);
  idt_[0] = reinterpret_cast<uintptr_t>(services());
  rscPpi_ = {PeiServicesThunks::RscRegister, PeiServicesThunks::RscUnregister};
  rscDescriptor_ = {EFI_PEI_PPI_DESCRIPTOR_PPI | EFI_PEI_PPI_DESCRIPTOR_TERMINATE_LIST, &gEfiPeiRscHandlerPpiGuid,
                    &rscPpi_};
}

PeiCore::~PeiCore() { deactivate(); }

void PeiCore::buildServicesTable() {
  using T = PeiServicesThunks;
  table_.Hdr.Signature = PEI_SERVICES_SIGNATURE;
  table_.Hdr.Revision = (1u << 16) | 80;
  table_.Hdr.HeaderSize = sizeof(EFI_PEI_SERVICES);
  table_.InstallPpi = T::InstallPpi;
  table_.ReInstallPpi = T::ReInstallPpi;
  table_.LocatePpi = T::LocatePpi;
  table_.NotifyPpi = T::NotifyPpi;
  table_.GetBootMode = T::GetBootMode;
  table_.SetBootMode = T::SetBootMode;
  table_.GetHobList = T::GetHobList;
  table_.CreateHob = T::CreateHob;
  table_.FfsFindNextVolume = T::FfsFindNextVolume;
  table_.FfsFindNextFile = T::FfsFindNextFile;
  table_.FfsFindSectionData = T::FfsFindSectionData;
  table_.InstallPeiMemory = T::InstallPeiMemory;
  table_.AllocatePages = T::AllocatePages;
  table_.AllocatePool = T::AllocatePool;
  table_.CopyMem = T::CopyMemService;
  table_.SetMem = T::SetMemService;
  table_.ReportStatusCode = T::ReportStatusCode;
  table_.ResetSystem = T::ResetSystem;
  table_.CpuIo = nullptr;
  pciCfg_ = {T::PciCfgRead, T::PciCfgWrite, T::PciCfgModify, 0};
  table_.PciCfg = &pciCfg_;
  table_.FfsFindFileByName = T::FfsFindFileByName;
  table_.FfsGetFileInfo = T::Unsupported;
  table_.FfsGetVolumeInfo = T::Unsupported;
  table_.RegisterForShadow = T::Unsupported;
  table_.FindSectionData3 = T::Unsupported;
  table_.FfsGetFileInfo2 = T::Unsupported;
  table_.ResetSystem2 = T::Unsupported;
}

PeiCore* PeiCore::fromServices(const EFI_PEI_SERVICES** services) {
  return reinterpret_cast<const Holder*>(services)->self;
}

void PeiCore::activate() {
  current_ = this;
  machine_.idtBase = reinterpret_cast<uintptr_t>(&idt_[1]);
  machine_.attach();
  if (!isInstalled(gEfiPeiRscHandlerPpiGuid)) installPpi(&rscDescriptor_);
}

void PeiCore::deactivate() {
  if (current_ == this) {
    current_ = nullptr;
    machine_.idtBase = 0;
    machine_.detach();
  }
}

std::string PeiCore::guidName(const EFI_GUID& guid) const {
  std::string n = guidName_ ? guidName_(guid) : "";
  return n.empty() ? guidToString(guid) : n;
}

std::vector<FfsFileView> PeiCore::filesOfAllVolumes() {
  std::vector<FfsFileView> all;
  for (const auto& v : volumes_) {
    auto* fv = machine_.memory.hostPointer(v.base, v.size);
    auto files = listFfsFiles(fv, v.size);
    all.insert(all.end(), files.begin(), files.end());
  }
  return all;
}

EFI_STATUS PeiCore::installPpi(const EFI_PEI_PPI_DESCRIPTOR* list) {
  if (!list) return EFI_INVALID_PARAMETER;
  // Validate the whole list first, so that a bad entry installs nothing.
  size_t count = 0;
  for (const EFI_PEI_PPI_DESCRIPTOR* d = list;; ++d) {
    if ((d->Flags & EFI_PEI_PPI_DESCRIPTOR_PPI) == 0 || !d->Guid) return EFI_INVALID_PARAMETER;
    ++count;
    if (d->Flags & EFI_PEI_PPI_DESCRIPTOR_TERMINATE_LIST) break;
    if (count > 256) return EFI_INVALID_PARAMETER;
  }
  for (size_t i = 0; i < count; ++i) {
    ppis_.push_back({&list[i]});
    events_.add("ppi_installed", {{"ppi", guidName(*list[i].Guid)}, {"by", running_}});
  }
  runNotifications();
  return EFI_SUCCESS;
}

EFI_STATUS PeiCore::locatePpi(const EFI_GUID& guid, size_t instance, EFI_PEI_PPI_DESCRIPTOR** descriptor, void** ppi) {
  size_t seen = 0;
  for (const Installed& i : ppis_) {
    if (!(*i.descriptor->Guid == guid)) continue;
    if (seen++ != instance) continue;
    if (descriptor) *descriptor = const_cast<EFI_PEI_PPI_DESCRIPTOR*>(i.descriptor);
    *ppi = i.descriptor->Ppi;
    return EFI_SUCCESS;
  }
  return EFI_NOT_FOUND;
}

bool PeiCore::isInstalled(const EFI_GUID& guid) const {
  return std::any_of(ppis_.begin(), ppis_.end(), [&](const Installed& i) { return *i.descriptor->Guid == guid; });
}

EFI_STATUS PeiCore::notifyPpi(const EFI_PEI_NOTIFY_DESCRIPTOR* list) {
  if (!list) return EFI_INVALID_PARAMETER;
  size_t count = 0;
  for (const EFI_PEI_NOTIFY_DESCRIPTOR* d = list;; ++d) {
    if ((d->Flags & EFI_PEI_PPI_DESCRIPTOR_NOTIFY_TYPES) == 0 || !d->Guid || !d->Notify) return EFI_INVALID_PARAMETER;
    ++count;
    if (d->Flags & EFI_PEI_PPI_DESCRIPTOR_TERMINATE_LIST) break;
    if (count > 256) return EFI_INVALID_PARAMETER;
  }
  for (size_t i = 0; i < count; ++i) notifications_.push_back({&list[i], false});
  runNotifications();
  return EFI_SUCCESS;
}

// Each registered callback runs once: when a PPI of its GUID is (or already was) installed.
// Callbacks that install PPIs or register notifications are handled by the same loop.
void PeiCore::runNotifications() {
  if (notifying_) return;
  notifying_ = true;
  struct Reset {
    bool& flag;
    ~Reset() { flag = false; }
  } reset{notifying_};
  for (bool progress = true; progress;) {
    progress = false;
    for (size_t i = 0; i < notifications_.size(); ++i) {
      if (notifications_[i].fired) continue;
      void* ppi = nullptr;
      const EFI_PEI_NOTIFY_DESCRIPTOR* d = notifications_[i].descriptor;
      if (EFI_ERROR(locatePpi(*d->Guid, 0, nullptr, &ppi))) continue;
      notifications_[i].fired = true;
      progress = true;
      d->Notify(const_cast<EFI_PEI_SERVICES**>(services()), const_cast<EFI_PEI_NOTIFY_DESCRIPTOR*>(d), ppi);
    }
  }
}

EFI_STATUS PeiCore::registerRscListener(EFI_PEI_RSC_HANDLER_CALLBACK callback) {
  if (!callback) return EFI_INVALID_PARAMETER;
  if (std::find(listeners_.begin(), listeners_.end(), callback) != listeners_.end()) return EFI_ALREADY_STARTED;
  if (listeners_.size() >= 64) return EFI_OUT_OF_RESOURCES;
  listeners_.push_back(callback);
  return EFI_SUCCESS;
}

EFI_STATUS PeiCore::unregisterRscListener(EFI_PEI_RSC_HANDLER_CALLBACK callback) {
  auto it = std::find(listeners_.begin(), listeners_.end(), callback);
  if (it == listeners_.end()) return EFI_NOT_FOUND;
  listeners_.erase(it);
  return EFI_SUCCESS;
}

EFI_STATUS PeiCore::reportStatusCode(EFI_STATUS_CODE_TYPE type, EFI_STATUS_CODE_VALUE value, uint32_t instance,
                                     const EFI_GUID* callerId, const EFI_STATUS_CODE_DATA* data) {
  nlohmann::json e = {{"type", hex32(type)}, {"value", hex32(value)}, {"instance", instance}, {"by", running_}};
  if (callerId) e["caller"] = guidName(*callerId);
  if (data && data->HeaderSize >= sizeof(EFI_STATUS_CODE_DATA)) {
    const uint8_t* payload = reinterpret_cast<const uint8_t*>(data) + data->HeaderSize;
    size_t n = std::min<size_t>(data->Size, 256);
    e["data"] = hexString(payload, n);
    size_t len = 0;
    while (len < n && payload[len] >= 0x20 && payload[len] < 0x7F) ++len;
    if (len > 0 && len < n && payload[len] == 0) e["text"] = std::string(reinterpret_cast<const char*>(payload), len);
  }
  events_.add("status_code", std::move(e));
  // A listener that reports codes of its own re-enters; a runaway chain is cut.
  if (statusCodeDepth_ >= 8) return EFI_DEVICE_ERROR;
  ++statusCodeDepth_;
  struct Depth {
    int& d;
    ~Depth() { --d; }
  } depth{statusCodeDepth_};
  auto listeners = listeners_;
  for (auto cb : listeners) cb(services(), type, value, instance, callerId, data);
  return EFI_SUCCESS;
}

void* PeiCore::createHob(uint16_t type, uint16_t length) {
  void* hob = hobs_.create(type, length);
  nlohmann::json e = {{"type", type}, {"length", length}, {"by", running_}, {"ok", hob != nullptr}};
  events_.add("hob_created", std::move(e));
  return hob;
}

}  // namespace zub
