// The dispatcher: knows every module of the firmware directory (each BASE_NAME.inf with
// its BASE_NAME.so), and enters them in order. A module is ready when its depex holds;
// among ready modules the one first in the dispatch order goes first. The order is the
// board's when it gives one (modules it does not name follow in name order).
#pragma once
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Depex.h"
#include "Edk2Files.h"
#include "ModuleImage.h"

namespace zub {

class PeiCore;
class Machine;

// What the firmware directory holds: modules and the GUID names of the packages.
class FirmwareCatalog {
public:
  explicit FirmwareCatalog(const std::filesystem::path& dir);   // throws on a malformed .inf/.dec
  const std::filesystem::path& dir() const { return dir_; }
  const std::vector<ModuleInf>& modules() const { return modules_; }
  const ModuleInf* find(const std::string& name) const;
  const std::map<std::string, EFI_GUID>& guids() const { return guids_; }
  std::string nameOf(const EFI_GUID& guid) const;

private:
  std::filesystem::path dir_;
  std::vector<ModuleInf> modules_;
  std::map<std::string, EFI_GUID> guids_;
};

struct DispatchRecord {
  std::string module;
  EFI_STATUS status = 0;
  uint64_t startNs = 0, endNs = 0;
};

class Dispatcher {
public:
  // `modules`: the names to dispatch (empty: all of the catalog); `order`: preferred order.
  Dispatcher(const FirmwareCatalog& catalog, PeiCore& core, Machine& machine, std::vector<std::string> modules,
             const std::vector<std::string>& order);
  ~Dispatcher();

  // Enters every module that is ready, repeatedly, until none is. Returns how many ran.
  size_t dispatchReady();
  // Enters one named module now, ready or not (tests).
  EFI_STATUS dispatch(const std::string& module);
  std::vector<std::string> pending() const;   // not yet dispatched
  const std::vector<DispatchRecord>& records() const { return records_; }
  void unloadAll();

private:
  struct Entry {
    const ModuleInf* inf;
    Depex depex;
    bool dispatched = false;
  };
  EFI_STATUS enter(Entry& e);

  const FirmwareCatalog& catalog_;
  PeiCore& core_;
  Machine& machine_;
  std::vector<Entry> entries_;
  std::vector<std::unique_ptr<ModuleImage>> loaded_;
  std::vector<DispatchRecord> records_;
};

}  // namespace zub
