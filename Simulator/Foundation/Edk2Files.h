// Readers of the EDK2 description files the dispatcher needs: a module's .inf
// (FILE_GUID, ENTRY_POINT, [Depex]) and a package's .dec (GUID names and values).
#pragma once
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include <Uefi/UefiBaseType.h>

namespace zub {

struct ModuleInf {
  std::string baseName;
  EFI_GUID fileGuid{};
  std::string entryPoint;
  std::string depex;   // the [Depex] section joined into one expression ("" means none)
  std::filesystem::path path;
};

ModuleInf readModuleInf(const std::filesystem::path& inf);          // throws std::runtime_error
std::map<std::string, EFI_GUID> readDecGuids(const std::filesystem::path& dec);

}  // namespace zub
