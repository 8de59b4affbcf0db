// DefaultsOverridePei on the simulated board: the module alone, the NVRAM store the test
// describes laid into the SPI flash, the identity PCDs, and a timeline that dispatches
// the module and then installs the SPI flash PPI (the moment the module works). The store
// is read back with the board's own NVAR walker, not with the module's.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "Board/BoardFile.h"
#include "Board/BoardNvram.h"
#include "Board/BootSession.h"
#include "Devices/SpiFlash.h"
#include "Platform/NvarStore.h"
#include "Platform/PreResetCallbacks.h"

namespace zub::defaultstest {

struct Identity {
  unsigned oemFlag = 0, customId = 0;
  uint32_t hwKey = 0;          // PcdZubHwId3..0
  unsigned resetRequest = 0;
};

inline nlohmann::json identityPcds(const Identity& id) {
  return {{"PcdZubOemFlag", id.oemFlag},
          {"PcdZubCustomId", id.customId},
          {"PcdZubHwId3", (id.hwKey >> 24) & 0xFF},
          {"PcdZubHwId2", (id.hwKey >> 16) & 0xFF},
          {"PcdZubHwId1", (id.hwKey >> 8) & 0xFF},
          {"PcdZubHwId0", id.hwKey & 0xFF},
          {"PcdZubResetRequest", id.resetRequest}};
}

inline std::vector<TimelineStep> dispatchThenSpiFlash() {
  TimelineStep spi{TimelineStep::Kind::Install};
  spi.ppi = "spi-flash";
  return {TimelineStep{}, spi};
}

// `store` is the board file's "nvram_store" object; `more` further board keys.
inline BoardConfig defaultsBoard(const nlohmann::json& store, const Identity& id, nlohmann::json more = {}) {
  nlohmann::json changes = {{"nvram_store", store}, {"pcd", identityPcds(id)}};
  BoardConfig b = boardWith(more.is_object() ? mergeBoard(changes, more) : changes);
  b.modules = {"DefaultsOverridePei"};
  b.dispatchOrder = b.modules;
  b.timeline = dispatchThenSpiFlash();
  return b;
}

// One boot, run to its end.
struct DefaultsBoot {
  explicit DefaultsBoot(const BoardConfig& b, const PersistentState& s = {}) : boot(b, s) {}
  DefaultsBoot& run() {
    result = boot.run();
    return *this;
  }
  const std::string& log() { return boot.platform().debug.log(); }
  bool logged(const std::string& text) { return log().find(text) != std::string::npos; }
  std::vector<nlohmann::json> flashOps() {
    std::vector<nlohmann::json> ops;
    for (const auto& e : boot.events().events())
      if (e["event"] == "flash_erase" || e["event"] == "flash_write") ops.push_back(e);
    return ops;
  }
  const std::vector<uint8_t>& flash() { return boot.flash().image(); }
  BootSession boot;
  BootResult result;
};

inline std::vector<uint8_t> storeOf(const std::vector<uint8_t>& flash, uint32_t size = kNvramStoreSize) {
  return std::vector<uint8_t>(flash.begin() + kNvramStoreOffset, flash.begin() + kNvramStoreOffset + size);
}

// The newest "StdDefaults" of the store: the end of the chain of the first valid one.
inline std::optional<NvarView> stdDefaults(const std::vector<uint8_t>& store) {
  NvramStoreWalk w = walkNvramStore(store.data(), store.size());
  for (const auto& r : w.records) {
    if (!r.valid() || !r.ascii() || r.name != "StdDefaults" || !r.terminated) continue;
    NvarChain c = followNvarChain(store.data(), store.size(), r.offset);
    if (!c.problem.empty()) return std::nullopt;
    for (const auto& s : w.records)
      if (s.offset == c.hops.back()) return s;
    return std::nullopt;
  }
  return std::nullopt;
}

// The default data of a setup variable: the last valid ASCII record of that name in the
// nested store of the newest "StdDefaults".
inline std::optional<std::vector<uint8_t>> defaultData(const std::vector<uint8_t>& flash, const std::string& name) {
  std::vector<uint8_t> store = storeOf(flash);
  auto sd = stdDefaults(store);
  if (!sd) return std::nullopt;
  const uint8_t* nest = store.data() + sd->offset + sd->dataOffset;
  std::optional<std::vector<uint8_t>> found;
  for (const auto& r : walkNvramStore(nest, sd->dataSize).records)
    if (r.valid() && r.ascii() && r.terminated && r.name == name)
      found.emplace(nest + r.offset + r.dataOffset, nest + r.offset + r.dataOffset + r.dataSize);
  return found;
}

}  // namespace zub::defaultstest
