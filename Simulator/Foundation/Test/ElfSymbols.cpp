#include "ElfSymbols.h"

#include <elf.h>

#include <cstring>
#include <fstream>
#include <stdexcept>
#include <vector>

namespace zub::test {

DynamicSymbols readDynamicSymbols(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<char> f((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (f.size() < sizeof(Elf64_Ehdr) || std::memcmp(f.data(), ELFMAG, SELFMAG) != 0)
    throw std::runtime_error("not an ELF file: " + path.string());
  auto at = [&](size_t off, size_t len) {
    if (off > f.size() || len > f.size() - off) throw std::runtime_error("truncated ELF: " + path.string());
    return f.data() + off;
  };
  auto* eh = reinterpret_cast<const Elf64_Ehdr*>(f.data());
  auto* sh = reinterpret_cast<const Elf64_Shdr*>(at(eh->e_shoff, size_t(eh->e_shnum) * sizeof(Elf64_Shdr)));
  DynamicSymbols out;
  for (int i = 0; i < eh->e_shnum; ++i) {
    if (sh[i].sh_type == SHT_DYNSYM) {
      const char* strtab = at(sh[sh[i].sh_link].sh_offset, sh[sh[i].sh_link].sh_size);
      auto* syms = reinterpret_cast<const Elf64_Sym*>(at(sh[i].sh_offset, sh[i].sh_size));
      for (size_t k = 1; k < sh[i].sh_size / sizeof(Elf64_Sym); ++k) {
        std::string name = strtab + syms[k].st_name;
        int bind = ELF64_ST_BIND(syms[k].st_info);
        if (name.empty()) continue;
        if (syms[k].st_shndx == SHN_UNDEF) out.imports.insert(name);
        else if (bind == STB_GLOBAL || bind == STB_WEAK) out.exports.insert(name);
      }
    } else if (sh[i].sh_type == SHT_DYNAMIC) {
      const char* strtab = at(sh[sh[i].sh_link].sh_offset, sh[sh[i].sh_link].sh_size);
      auto* dyn = reinterpret_cast<const Elf64_Dyn*>(at(sh[i].sh_offset, sh[i].sh_size));
      for (size_t k = 0; k < sh[i].sh_size / sizeof(Elf64_Dyn) && dyn[k].d_tag != DT_NULL; ++k)
        if (dyn[k].d_tag == DT_NEEDED) out.needed.insert(strtab + dyn[k].d_un.d_val);
    }
  }
  return out;
}

}  // namespace zub::test
