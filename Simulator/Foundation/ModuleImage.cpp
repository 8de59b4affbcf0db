#include "ModuleImage.h"

#include <dlfcn.h>
#include <link.h>

#include <stdexcept>

#include "Machine/Machine.h"

namespace zub {

namespace {
struct RangeQuery {
  const char* path;
  uintptr_t begin = UINTPTR_MAX, end = 0;
};
}  // namespace

ModuleImage::ModuleImage(const ModuleInf& inf, const std::filesystem::path& image, Machine& machine) : inf_(inf) {
  handle_ = dlopen(image.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle_) throw std::runtime_error(std::string("cannot load ") + image.string() + ": " + dlerror());
  entry_ = reinterpret_cast<EFI_PEIM_ENTRY_POINT2>(dlsym(handle_, inf.entryPoint.c_str()));
  if (!entry_) {
    dlclose(handle_);
    throw std::runtime_error(image.string() + ": no entry point " + inf.entryPoint);
  }
  struct link_map* map = nullptr;
  dlinfo(handle_, RTLD_DI_LINKMAP, &map);
  RangeQuery q{map ? map->l_name : ""};
  dl_iterate_phdr(
      [](struct dl_phdr_info* info, size_t, void* data) {
        auto* q = static_cast<RangeQuery*>(data);
        if (!info->dlpi_name || std::string(info->dlpi_name) != q->path) return 0;
        for (int i = 0; i < info->dlpi_phnum; ++i) {
          const auto& ph = info->dlpi_phdr[i];
          if (ph.p_type != PT_LOAD) continue;
          uintptr_t b = info->dlpi_addr + ph.p_vaddr;
          q->begin = std::min(q->begin, b);
          q->end = std::max(q->end, b + ph.p_memsz);
        }
        return 1;
      },
      &q);
  begin_ = q.begin;
  end_ = q.end;
  machine.registerImage(inf.baseName, begin_, end_);
  fileHeader_.Name = inf.fileGuid;
  fileHeader_.Type = EFI_FV_FILETYPE_PEIM;
}

ModuleImage::~ModuleImage() {
  if (handle_) dlclose(handle_);
}

EFI_STATUS ModuleImage::enter(const EFI_PEI_SERVICES** services) { return entry_(&fileHeader_, services); }

}  // namespace zub
