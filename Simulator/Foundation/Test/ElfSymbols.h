// Reads an ELF64 shared object's dynamic symbols and needed libraries.
#pragma once
#include <filesystem>
#include <set>
#include <string>

namespace zub::test {

struct DynamicSymbols {
  std::set<std::string> imports;   // undefined
  std::set<std::string> exports;   // defined global or weak
  std::set<std::string> needed;    // DT_NEEDED
};

DynamicSymbols readDynamicSymbols(const std::filesystem::path& path);

}  // namespace zub::test
