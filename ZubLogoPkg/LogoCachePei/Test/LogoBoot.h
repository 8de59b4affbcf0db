// Whole boots of the default board with the modules the logo needs, from a given state,
// and what a test reads back: the log, the events, the screen, the PCDs, the flash area.
#pragma once
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include <ZubPcdTokens.h>

#include "Board/BoardFile.h"
#include "Board/BootSession.h"
#include "Devices/Ast2500Screen.h"
#include "FlashBoard.h"

namespace zub::logotest {

inline constexpr uint32_t kArea = 0x940000;   // BIOS-region offset of the logo area
inline constexpr uint32_t kAreaSize = 0x80000;

inline uint32_t le32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24; }
inline void put32(uint8_t* p, uint32_t v) { std::memcpy(p, &v, 4); }

// The BMC's OEM selector: below 3 as given, from 3 on check_area + 30.
inline nlohmann::json oem(uint32_t selector, bool cleanCache = false) {
  nlohmann::json p = selector < 3 ? nlohmann::json{{"oem_flag", selector}}
                                  : nlohmann::json{{"oem_flag", 3}, {"check_area", selector - 30}};
  p["force_clean_logo_cache"] = cleanCache ? 1 : 0;
  return {{"bmc", {{"pei_param", p}}}};
}

inline nlohmann::json merged(nlohmann::json a, const nlohmann::json& b) { return mergeBoard(std::move(a), b); }

struct LogoBoot {
  BootResult result;
  PersistentState after;
  std::string log;
  std::vector<nlohmann::json> events;
  std::vector<uint32_t> screen;
  uint64_t logoUpdate = 0, earlyVgaMode = 0, quietBoot = 0, hideLogo = 0, evort = 0;

  size_t count(const std::string& text) const {
    size_t n = 0;
    for (size_t at = log.find(text); at != std::string::npos; at = log.find(text, at + 1)) ++n;
    return n;
  }
  std::vector<nlohmann::json> ofType(const std::string& type) const {
    std::vector<nlohmann::json> out;
    for (const auto& e : events)
      if (e["event"] == type) out.push_back(e);
    return out;
  }
  std::vector<nlohmann::json> flashOps() const {
    std::vector<nlohmann::json> out;
    for (const auto& e : events)
      if (e["event"] == "flash_erase" || e["event"] == "flash_write") out.push_back(e);
    return out;
  }
  size_t downloads(const std::string& file) const {
    size_t n = 0;
    for (const auto& e : ofType("quick_transfer"))
      if (e.value("file", "") == file) ++n;
    return n;
  }
  const uint8_t* area() const { return after.flash.data() + kArea; }
  uint32_t pixel(unsigned x, unsigned y) const { return screen[y * 800 + x] & 0xFFFFFF; }
};

inline const std::vector<std::string>& logoModules() {
  static const std::vector<std::string> m = {"DebugCapturePei", "IpmiRelayPei", "VgaDecodePei", "VramLinkPei",
                                             "ReportPushPei", "LogoCachePei", "TextConsolePei", "BootProgressPei"};
  return m;
}

inline LogoBoot bootLogo(const nlohmann::json& changes, const PersistentState& state = {},
                         std::optional<uint32_t> powerLossAt = {}) {
  BoardConfig b = boardWith(changes);
  if (!changes.contains("firmware")) b.modules = logoModules();
  BootOptions o;
  o.powerLossAtFlashOp = powerLossAt;
  BootSession s(b, state, o);
  LogoBoot r;
  r.result = s.run();
  r.after = s.stateAfter();
  r.log = s.platform().debug.log();
  r.events = s.events().events();
  r.screen = s.video() ? scanOutScreen(*s.video()) : std::vector<uint32_t>(800 * 600);
  auto& pcd = s.platform().pcd;
  r.logoUpdate = pcd.number(PcdZubLogoUpdate_TOKEN);
  r.earlyVgaMode = pcd.number(PcdZubEarlyVgaMode_TOKEN);
  r.quietBoot = pcd.number(PcdZubQuietBoot_TOKEN);
  r.hideLogo = pcd.number(PcdZubHideLogo_TOKEN);
  r.evort = pcd.number(PcdZubEvortEnable_TOKEN);
  return r;
}

// A header block as the firmware writes it, with the CRCs computed by zlib.
struct HeaderFields {
  uint32_t oemId = 31;
  uint32_t offset[3] = {0x1000, 0x2000, 0x3000};
  uint32_t size[3] = {0x100, 0x100, 0x100};
  bool goodMagic = true;
};

inline std::vector<uint8_t> headerBlock(const HeaderFields& f, const uint8_t* area) {
  static const uint8_t magic[16] = {0xFF, 0x7A, 0xBA, 0xC4, 0x26, 0x40, 0xAA, 0x40,
                                    0x92, 0x33, 0xAE, 0x3B, 0x7E, 0xAD, 0xE3, 0x2B};
  std::vector<uint8_t> h(0x1000, 0);
  std::memcpy(h.data() + 4, magic, 16);
  if (!f.goodMagic) h[4] ^= 1;
  put32(h.data() + 0x14, f.oemId);
  for (int i = 0; i < 3; ++i) {
    put32(h.data() + 0x18 + 12 * i, f.offset[i]);
    put32(h.data() + 0x1C + 12 * i, f.size[i]);
    bool inside = uint64_t(f.offset[i]) + f.size[i] <= kAreaSize;
    put32(h.data() + 0x20 + 12 * i, inside ? zcrc(area + f.offset[i], f.size[i]) : 0);
  }
  put32(h.data(), zcrc(h.data() + 4, 0xFFC));
  return h;
}

}  // namespace zub::logotest
