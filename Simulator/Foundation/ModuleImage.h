// A module image loaded for one boot: dlopen'ed afresh (its globals are zero, as in a real
// boot), its range registered with the machine so accesses are charged to it, unloaded
// when the boot ends.
#pragma once
#include <cstdint>
#include <filesystem>
#include <string>

#include <PiPei.h>

#include "Edk2Files.h"

namespace zub {

class Machine;

class ModuleImage {
public:
  ModuleImage(const ModuleInf& inf, const std::filesystem::path& image, Machine& machine);
  ~ModuleImage();
  ModuleImage(const ModuleImage&) = delete;
  ModuleImage& operator=(const ModuleImage&) = delete;

  const ModuleInf& inf() const { return inf_; }
  EFI_STATUS enter(const EFI_PEI_SERVICES** services);
  uintptr_t begin() const { return begin_; }
  uintptr_t end() const { return end_; }

private:
  ModuleInf inf_;
  void* handle_ = nullptr;
  EFI_PEIM_ENTRY_POINT2 entry_ = nullptr;
  uintptr_t begin_ = 0, end_ = 0;
  EFI_FFS_FILE_HEADER fileHeader_{};   // the file handle the entry point receives
};

}  // namespace zub
