// Bitmap resources of a module.
//
// A module built for Linux carries its resources in ELF notes (see Win32Resources.h), which the
// loader maps with the module, so they are found in memory without reading the file.
#include <windows.h>

#include <dlfcn.h>
#include <link.h>

#include <memory>
#include <mutex>
#include <vector>

#include "Win32Resources.h"

namespace {

struct Bitmap {
  std::vector<unsigned char> bytes;
};

// Bitmaps live as long as the process, as a host that never deletes its button images expects.
std::mutex gBitmapsLock;
std::vector<std::unique_ptr<Bitmap>> gBitmaps;

struct ResourceSearch {
  ElfW(Addr) base;
  const char* moduleName;
  uint32_t type;
  uint32_t id;
  const unsigned char* bytes;
  uint32_t size;
};

uint32_t ReadWord(const unsigned char* p) {
  uint32_t value;
  memcpy(&value, p, sizeof value);
  return value;
}

void SearchNotes(const unsigned char* notes, size_t length, ResourceSearch* search) {
  size_t offset = 0;
  while (offset + 12 <= length) {
    uint32_t nameSize = ReadWord(notes + offset);
    uint32_t descSize = ReadWord(notes + offset + 4);
    uint32_t noteType = ReadWord(notes + offset + 8);
    size_t name = offset + 12;
    size_t desc = name + ((nameSize + 3u) & ~3u);
    size_t next = desc + ((descSize + 3u) & ~3u);
    if (next > length || desc > length) return;
    if (noteType == kWin32ResourceNoteType && nameSize == sizeof kWin32ResourceNoteName &&
        memcmp(notes + name, kWin32ResourceNoteName, nameSize) == 0 && descSize >= 16) {
      const unsigned char* d = notes + desc;
      uint32_t size = ReadWord(d + 12);
      if (ReadWord(d) == search->type && ReadWord(d + 4) == search->id && size <= descSize - 16) {
        search->bytes = d + 16;
        search->size = size;
        return;
      }
    }
    offset = next;
  }
}

int SearchModule(dl_phdr_info* info, size_t, void* data) {
  ResourceSearch* search = static_cast<ResourceSearch*>(data);
  if (info->dlpi_addr != search->base) return 0;
  const char* name = info->dlpi_name ? info->dlpi_name : "";
  if (strcmp(name, search->moduleName) != 0) return 0;
  for (ElfW(Half) i = 0; i < info->dlpi_phnum && !search->bytes; ++i) {
    const ElfW(Phdr)& header = info->dlpi_phdr[i];
    if (header.p_type != PT_NOTE) continue;
    SearchNotes(reinterpret_cast<const unsigned char*>(info->dlpi_addr + header.p_vaddr), header.p_memsz, search);
  }
  return search->bytes ? 1 : 0;
}

}  // namespace

extern "C" {

HBITMAP LoadBitmapA(HINSTANCE instance, LPCSTR name) {
  if (!instance || !IS_INTRESOURCE(name)) return nullptr;
  link_map* map = nullptr;
  if (dlinfo(instance, RTLD_DI_LINKMAP, &map) != 0 || !map) return nullptr;
  ResourceSearch search{map->l_addr, map->l_name ? map->l_name : "", RT_BITMAP_ID,
                        static_cast<uint32_t>(reinterpret_cast<uintptr_t>(name)), nullptr, 0};
  dl_iterate_phdr(SearchModule, &search);
  if (!search.bytes) return nullptr;
  std::unique_ptr<Bitmap> bitmap(new Bitmap{std::vector<unsigned char>(search.bytes, search.bytes + search.size)});
  HBITMAP handle = reinterpret_cast<HBITMAP>(bitmap.get());
  std::lock_guard<std::mutex> lock(gBitmapsLock);
  gBitmaps.push_back(std::move(bitmap));
  return handle;
}

const unsigned char* Win32BitmapBytes(HBITMAP handle, size_t* size) {
  std::lock_guard<std::mutex> lock(gBitmapsLock);
  for (const std::unique_ptr<Bitmap>& bitmap : gBitmaps) {
    if (reinterpret_cast<HBITMAP>(bitmap.get()) != handle) continue;
    if (size) *size = bitmap->bytes.size();
    return bitmap->bytes.data();
  }
  if (size) *size = 0;
  return nullptr;
}

}  // extern "C"
