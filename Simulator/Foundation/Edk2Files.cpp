#include "Edk2Files.h"

#include <fstream>
#include <regex>
#include <stdexcept>

#include "Guid.h"

namespace zub {
namespace {

struct Sections {
  std::map<std::string, std::string> defines;
  std::map<std::string, std::vector<std::string>> lines;
};

std::string trim(const std::string& s) {
  size_t b = s.find_first_not_of(" \t\r"), e = s.find_last_not_of(" \t\r");
  return b == std::string::npos ? "" : s.substr(b, e - b + 1);
}

Sections readSections(const std::filesystem::path& path) {
  std::ifstream in(path);
  if (!in) throw std::runtime_error("cannot read " + path.string());
  Sections s;
  std::string section, raw;
  static const std::regex header(R"(^\[([A-Za-z]+)(\.[^\]]*)?\]$)");
  static const std::regex define(R"(^([A-Z_]+)\s*=\s*(.*)$)");
  while (std::getline(in, raw)) {
    std::string line = trim(raw.substr(0, raw.find('#')));
    if (line.empty()) continue;
    std::smatch m;
    if (std::regex_match(line, m, header)) {
      section = m[1];
    } else if (section == "Defines" && std::regex_match(line, m, define)) {
      s.defines[m[1]] = trim(m[2]);
    } else {
      s.lines[section].push_back(line);
    }
  }
  return s;
}

}  // namespace

ModuleInf readModuleInf(const std::filesystem::path& inf) {
  Sections s = readSections(inf);
  ModuleInf m;
  m.path = inf;
  m.baseName = s.defines["BASE_NAME"];
  m.entryPoint = s.defines["ENTRY_POINT"];
  auto guid = guidFromString(s.defines["FILE_GUID"]);
  if (m.baseName.empty() || m.entryPoint.empty() || !guid)
    throw std::runtime_error(inf.string() + ": BASE_NAME, FILE_GUID and ENTRY_POINT are required");
  m.fileGuid = *guid;
  for (const auto& l : s.lines["Depex"]) m.depex += (m.depex.empty() ? "" : " ") + l;
  return m;
}

std::map<std::string, EFI_GUID> readDecGuids(const std::filesystem::path& dec) {
  Sections s = readSections(dec);
  std::map<std::string, EFI_GUID> out;
  static const std::regex entry(R"(^([A-Za-z0-9_]+)\s*=\s*(\{.*\})$)");
  for (const char* section : {"Guids", "Ppis", "Protocols"}) {
    for (const auto& l : s.lines[section]) {
      std::smatch m;
      if (!std::regex_match(l, m, entry)) continue;
      if (auto g = guidFromCInitializer(m[2])) out[m[1]] = *g;
    }
  }
  return out;
}

}  // namespace zub
