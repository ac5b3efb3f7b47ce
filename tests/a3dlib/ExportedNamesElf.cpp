#include "ExportedNames.h"

#include <elf.h>
#include <link.h>
#include <string.h>

#include "TestSupport.h"

namespace a3dtest {

std::set<std::string> ExportedNames(const std::string& path) {
  std::string image = testing_support::ReadFile(path);
  std::set<std::string> names;
  if (image.size() < sizeof(ElfW(Ehdr))) return names;
  const char* base = image.data();
  const auto* header = reinterpret_cast<const ElfW(Ehdr)*>(base);
  if (memcmp(header->e_ident, ELFMAG, SELFMAG) != 0) return names;
  const auto* sections = reinterpret_cast<const ElfW(Shdr)*>(base + header->e_shoff);
  for (int i = 0; i < header->e_shnum; ++i) {
    if (sections[i].sh_type != SHT_DYNSYM) continue;
    const ElfW(Shdr)& strings = sections[sections[i].sh_link];
    const auto* symbols = reinterpret_cast<const ElfW(Sym)*>(base + sections[i].sh_offset);
    size_t count = sections[i].sh_size / sizeof(ElfW(Sym));
    for (size_t k = 0; k < count; ++k) {
      if (symbols[k].st_shndx == SHN_UNDEF || symbols[k].st_name == 0) continue;
      int binding = ELF64_ST_BIND(symbols[k].st_info);
      if (binding == STB_LOCAL) continue;
      names.insert(base + strings.sh_offset + symbols[k].st_name);
    }
  }
  return names;
}

}  // namespace a3dtest
