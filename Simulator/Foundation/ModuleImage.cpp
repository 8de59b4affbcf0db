#include "ModuleImage.h"

#include <dlfcn.h>
#include <link.h>

#include <map>
#include <stdexcept>
#include <vector>

#include "Machine/Machine.h"

namespace zub {

namespace {
struct RangeQuery {
  const char* path;
  uintptr_t begin = UINTPTR_MAX, end = 0;
  // The writable data outside the relocation read-only part: the image's globals.
  std::vector<std::pair<uintptr_t, uintptr_t>> data;
};

#ifdef ZUB_RESIDENT_IMAGES
// Fuzzer builds: an instrumented image cannot be unloaded under the fuzzer (its coverage
// counters stay registered), so each image stays loaded and a "fresh load" puts its
// globals back to what they were right after the first load.
struct ResidentImage {
  void* handle = nullptr;
  RangeQuery range{""};
  std::vector<std::vector<uint8_t>> pristine;
};

std::map<std::string, ResidentImage>& residentImages() {
  static std::map<std::string, ResidentImage> images;
  return images;
}

// Plain byte copies that neither the address sanitizer checks (the image's globals have
// poisoned red zones between them) nor the compiler turns into memcpy.
__attribute__((no_sanitize("address"))) void copyUnchecked(volatile uint8_t* to, const volatile uint8_t* from,
                                                           size_t n) {
  for (size_t i = 0; i < n; ++i) to[i] = from[i];
}
#endif
}  // namespace

ModuleImage::ModuleImage(const ModuleInf& inf, const std::filesystem::path& image, Machine& machine) : inf_(inf) {
#ifdef ZUB_RESIDENT_IMAGES
  auto found = residentImages().find(image.string());
  if (found != residentImages().end()) {
    ResidentImage& r = found->second;
    for (size_t i = 0; i < r.range.data.size(); ++i)
      copyUnchecked(reinterpret_cast<uint8_t*>(r.range.data[i].first), r.pristine[i].data(), r.pristine[i].size());
    handle_ = r.handle;
    entry_ = reinterpret_cast<EFI_PEIM_ENTRY_POINT2>(dlsym(handle_, inf.entryPoint.c_str()));
    begin_ = r.range.begin;
    end_ = r.range.end;
    machine.registerImage(inf.baseName, begin_, end_);
    fileHeader_.Name = inf.fileGuid;
    fileHeader_.Type = EFI_FV_FILETYPE_PEIM;
    return;
  }
  handle_ = dlopen(image.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
#else
  handle_ = dlopen(image.c_str(), RTLD_NOW | RTLD_LOCAL);
#endif
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
        uintptr_t relroEnd = 0;
        for (int i = 0; i < info->dlpi_phnum; ++i) {
          const auto& ph = info->dlpi_phdr[i];
          if (ph.p_type == PT_GNU_RELRO) relroEnd = info->dlpi_addr + ph.p_vaddr + ph.p_memsz;
        }
        for (int i = 0; i < info->dlpi_phnum; ++i) {
          const auto& ph = info->dlpi_phdr[i];
          if (ph.p_type != PT_LOAD) continue;
          uintptr_t b = info->dlpi_addr + ph.p_vaddr;
          q->begin = std::min(q->begin, b);
          q->end = std::max(q->end, b + ph.p_memsz);
          uintptr_t from = std::max(b, relroEnd), to = b + ph.p_memsz;
          if ((ph.p_flags & PF_W) && from < to) q->data.emplace_back(from, to);
        }
        return 1;
      },
      &q);
  begin_ = q.begin;
  end_ = q.end;
#ifdef ZUB_RESIDENT_IMAGES
  ResidentImage& r = residentImages()[image.string()];
  r.handle = handle_;
  r.range = q;
  for (const auto& [from, to] : q.data) {
    r.pristine.emplace_back(to - from);
    copyUnchecked(r.pristine.back().data(), reinterpret_cast<const uint8_t*>(from), to - from);
  }
#endif
  machine.registerImage(inf.baseName, begin_, end_);
  fileHeader_.Name = inf.fileGuid;
  fileHeader_.Type = EFI_FV_FILETYPE_PEIM;
}

ModuleImage::~ModuleImage() {
#ifndef ZUB_RESIDENT_IMAGES
  if (handle_) dlclose(handle_);
#endif
}

EFI_STATUS ModuleImage::enter(const EFI_PEI_SERVICES** services) { return entry_(&fileHeader_, services); }

}  // namespace zub
