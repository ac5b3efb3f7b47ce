// The machine's memory and the process's address space, as Windows reports them.
#include <windows.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/sysinfo.h>
#include <unistd.h>

namespace {

// The user part of the address space: 128 TiB for 64-bit pointers, as on x86-64 Linux and
// 64-bit Windows alike; 3 GiB for 32-bit ones.
uint64_t AddressSpaceBytes() {
  uint64_t space = sizeof(void*) >= 8 ? uint64_t(1) << 47 : uint64_t(3) << 30;
  struct rlimit limit;
  if (getrlimit(RLIMIT_AS, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY && limit.rlim_cur < space)
    space = limit.rlim_cur;
  return space;
}

// What the process has mapped, from /proc/self/statm (its first figure, in pages); 0 when it
// cannot be read. Read without allocating, so it works however little room the limit leaves.
uint64_t MappedBytes(uint64_t pageSize) {
  int file = open("/proc/self/statm", O_RDONLY | O_CLOEXEC);
  if (file < 0) return 0;
  char text[128];
  ssize_t length = read(file, text, sizeof text - 1);
  close(file);
  if (length <= 0) return 0;
  uint64_t pages = 0;
  for (ssize_t i = 0; i < length && text[i] >= '0' && text[i] <= '9'; ++i) pages = pages * 10 + (text[i] - '0');
  return pages * pageSize;
}

}  // namespace

extern "C" {

BOOL GlobalMemoryStatusEx(LPMEMORYSTATUSEX status) {
  if (!status || status->dwLength != sizeof(MEMORYSTATUSEX)) return FALSE;
  long pageSize = sysconf(_SC_PAGESIZE);
  long totalPages = sysconf(_SC_PHYS_PAGES);
  long freePages = sysconf(_SC_AVPHYS_PAGES);
  struct sysinfo info;
  if (pageSize <= 0 || totalPages <= 0 || freePages < 0 || sysinfo(&info) != 0) return FALSE;
  const uint64_t page = static_cast<uint64_t>(pageSize);
  const uint64_t unit = info.mem_unit ? info.mem_unit : 1;
  status->ullTotalPhys = static_cast<uint64_t>(totalPages) * page;
  status->ullAvailPhys = static_cast<uint64_t>(freePages) * page;
  status->dwMemoryLoad = static_cast<DWORD>(100 - status->ullAvailPhys * 100 / status->ullTotalPhys);
  status->ullTotalPageFile = (static_cast<uint64_t>(info.totalram) + info.totalswap) * unit;
  status->ullAvailPageFile = (static_cast<uint64_t>(info.freeram) + info.freeswap) * unit;
  status->ullTotalVirtual = AddressSpaceBytes();
  const uint64_t mapped = MappedBytes(page);
  status->ullAvailVirtual = mapped < status->ullTotalVirtual ? status->ullTotalVirtual - mapped : 0;
  status->ullAvailExtendedVirtual = 0;
  return TRUE;
}

}  // extern "C"
