#include "Dispatcher.h"

#include <algorithm>
#include <stdexcept>

#include "Guid.h"
#include "Machine/Machine.h"
#include "PeiCore.h"

namespace zub {

FirmwareCatalog::FirmwareCatalog(const std::filesystem::path& dir) : dir_(dir) {
  namespace fs = std::filesystem;
  if (!fs::is_directory(dir)) throw std::runtime_error("firmware directory not found: " + dir.string());
  if (fs::is_directory(dir / "dec"))
    for (const auto& e : fs::directory_iterator(dir / "dec"))
      if (e.path().extension() == ".dec")
        for (auto& [k, v] : readDecGuids(e.path())) guids_[k] = v;
  // A module is an .inf with its image beside it (an .inf left without one is not firmware).
  for (const auto& e : fs::directory_iterator(dir)) {
    fs::path image = e.path();
    image.replace_extension(".so");
    if (e.path().extension() == ".inf" && fs::exists(image)) modules_.push_back(readModuleInf(e.path()));
  }
  std::sort(modules_.begin(), modules_.end(), [](const ModuleInf& a, const ModuleInf& b) { return a.baseName < b.baseName; });
}

const ModuleInf* FirmwareCatalog::find(const std::string& name) const {
  for (const auto& m : modules_)
    if (m.baseName == name) return &m;
  return nullptr;
}

std::string FirmwareCatalog::nameOf(const EFI_GUID& guid) const {
  for (const auto& [k, v] : guids_)
    if (v == guid) return k;
  return "";
}

Dispatcher::Dispatcher(const FirmwareCatalog& catalog, PeiCore& core, Machine& machine,
                       std::vector<std::string> modules, const std::vector<std::string>& order)
    : catalog_(catalog), core_(core), machine_(machine) {
  if (modules.empty())
    for (const auto& m : catalog.modules()) modules.push_back(m.baseName);
  // Order: the board's order first, then the rest by name.
  std::vector<std::string> sorted;
  for (const auto& o : order)
    if (std::find(modules.begin(), modules.end(), o) != modules.end() &&
        std::find(sorted.begin(), sorted.end(), o) == sorted.end())
      sorted.push_back(o);
  std::sort(modules.begin(), modules.end());
  for (const auto& m : modules)
    if (std::find(sorted.begin(), sorted.end(), m) == sorted.end()) sorted.push_back(m);
  for (const auto& name : sorted) {
    const ModuleInf* inf = catalog.find(name);
    if (!inf) throw std::runtime_error("unknown module: " + name);
    entries_.push_back({inf, Depex(inf->depex, catalog.guids())});
  }
}

Dispatcher::~Dispatcher() { unloadAll(); }

void Dispatcher::unloadAll() {
  machine_.unregisterImages();
  loaded_.clear();
}

EFI_STATUS Dispatcher::enter(Entry& e) {
  e.dispatched = true;
  auto image = std::make_unique<ModuleImage>(*e.inf, catalog_.dir() / (e.inf->baseName + ".so"), machine_);
  ModuleImage& m = *image;
  loaded_.push_back(std::move(image));
  DispatchRecord r{e.inf->baseName, 0, machine_.clock.nowNs(), 0};
  core_.setRunningModule(e.inf->baseName);
  struct Done {
    PeiCore& core;
    ~Done() { core.setRunningModule(""); }
  } done{core_};
  try {
    r.status = m.enter(core_.services());
  } catch (...) {
    r.endNs = machine_.clock.nowNs();
    r.status = EFI_ABORTED;
    records_.push_back(r);
    throw;
  }
  r.endNs = machine_.clock.nowNs();
  records_.push_back(r);
  return r.status;
}

size_t Dispatcher::dispatchReady() {
  size_t count = 0;
  for (bool progress = true; progress;) {
    progress = false;
    for (Entry& e : entries_) {
      if (e.dispatched) continue;
      if (!e.depex.evaluate([&](const EFI_GUID& g) { return core_.isInstalled(g); })) continue;
      enter(e);
      ++count;
      progress = true;
      break;   // a new PPI may make an earlier module of the order ready
    }
  }
  return count;
}

EFI_STATUS Dispatcher::dispatch(const std::string& module) {
  for (Entry& e : entries_)
    if (e.inf->baseName == module && !e.dispatched) return enter(e);
  throw std::runtime_error("module not pending: " + module);
}

std::vector<std::string> Dispatcher::pending() const {
  std::vector<std::string> out;
  for (const Entry& e : entries_)
    if (!e.dispatched) out.push_back(e.inf->baseName);
  return out;
}

}  // namespace zub
