#include "PersistentState.h"

#include <fstream>
#include <stdexcept>

#include <nlohmann/json.hpp>

namespace zub {

const char* resetKindName(ResetKind kind) {
  switch (kind) {
    case ResetKind::Cold: return "cold";
    case ResetKind::Warm: return "warm";
    case ResetKind::Ac: return "ac";
  }
  return "?";
}

ResetKind resetKindFromName(const std::string& name) {
  return name == "warm" ? ResetKind::Warm : name == "ac" ? ResetKind::Ac : ResetKind::Cold;
}

namespace {
namespace fs = std::filesystem;

std::vector<uint8_t> readFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read state file " + p.string());
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void writeAtomically(const fs::path& p, const void* data, size_t size) {
  fs::path tmp = p;
  tmp += ".tmp";
  {
    std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
    out.write(static_cast<const char*>(data), std::streamsize(size));
    if (!out) throw std::runtime_error("cannot write state file " + tmp.string());
  }
  fs::rename(tmp, p);
}
}  // namespace

PersistentState PersistentState::load(const fs::path& dir) {
  PersistentState s;
  if (!fs::exists(dir)) return s;
  if (!fs::is_directory(dir)) throw std::runtime_error("state path is not a folder: " + dir.string());
  if (fs::exists(dir / "cmos.bin")) s.cmos = readFile(dir / "cmos.bin");
  if (fs::exists(dir / "flash.bin")) s.flash = readFile(dir / "flash.bin");
  if (fs::exists(dir / "vram.bin")) s.vram = readFile(dir / "vram.bin");
  if (fs::exists(dir / "state.json")) {
    auto bytes = readFile(dir / "state.json");
    auto j = nlohmann::json::parse(bytes.begin(), bytes.end(), nullptr, false);
    if (j.is_discarded() || !j.is_object())
      throw std::runtime_error("malformed state file " + (dir / "state.json").string());
    s.boots = j.value("boots", 0u);
    s.lastEnd = j.value("last_end", std::string());
    s.flashOperations = j.value("flash_operations", uint64_t(0));
  }
  return s;
}

void PersistentState::save(const fs::path& dir) const {
  fs::create_directories(dir);
  if (!cmos.empty()) writeAtomically(dir / "cmos.bin", cmos.data(), cmos.size());
  if (!flash.empty()) writeAtomically(dir / "flash.bin", flash.data(), flash.size());
  if (!vram.empty()) writeAtomically(dir / "vram.bin", vram.data(), vram.size());
  else fs::remove(dir / "vram.bin");
  std::string j = nlohmann::json{{"boots", boots}, {"last_end", lastEnd}, {"flash_operations", flashOperations}}.dump(2) + "\n";
  writeAtomically(dir / "state.json", j.data(), j.size());
}

}  // namespace zub
