// Libraries and modules over the dynamic loader, with Windows' search for a bare file name.
#include <windows.h>

#include <dirent.h>
#include <dlfcn.h>
#include <limits.h>
#include <link.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "PathNames.h"

namespace {

bool IsRegularFile(const std::string& path) {
  struct stat status;
  return stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

std::string ProgramFolder() {
  char path[PATH_MAX];
  ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
  if (length <= 0) return std::string();
  path[length] = '\0';
  return win32::FolderOf(path);
}

std::string CurrentFolder() {
  char path[PATH_MAX];
  return getcwd(path, sizeof path) ? std::string(path) : std::string();
}

// The file named `name` in `folder`: the exact name first, then one that differs only in case.
std::string FindInFolder(const std::string& folder, const std::string& name) {
  if (folder.empty()) return std::string();
  std::string exact = folder + "/" + name;
  if (IsRegularFile(exact)) return exact;
  std::string found;
  if (DIR* directory = opendir(folder.c_str())) {
    while (dirent* entry = readdir(directory)) {
      if (strcasecmp(entry->d_name, name.c_str()) == 0 && IsRegularFile(folder + "/" + entry->d_name)) {
        found = folder + "/" + entry->d_name;
        break;
      }
    }
    closedir(directory);
  }
  return found;
}

std::vector<std::string> SearchFolders() {
  std::vector<std::string> folders{ProgramFolder(), CurrentFolder()};
  if (const char* path = ::getenv("PATH")) {
    std::string list(path);
    size_t start = 0;
    while (start <= list.size()) {
      size_t end = list.find(':', start);
      if (end == std::string::npos) end = list.size();
      if (end > start) folders.push_back(list.substr(start, end - start));
      start = end + 1;
    }
  }
  return folders;
}

// Why this thread's last load failed.
thread_local std::string gLoadError;

struct ModuleSearch {
  const char* name;
  std::string path;
};

int MatchModuleName(dl_phdr_info* info, size_t, void* data) {
  ModuleSearch* search = static_cast<ModuleSearch*>(data);
  if (!info->dlpi_name || !info->dlpi_name[0]) return 0;
  std::string path(info->dlpi_name);
  std::string wanted = win32::ToNativePath(search->name);
  bool hasFolder = wanted.find('/') != std::string::npos;
  const std::string& candidate = hasFolder ? path : win32::FileNameOf(path);
  if (strcasecmp(candidate.c_str(), wanted.c_str()) != 0) return 0;
  search->path = path;
  return 1;
}

}  // namespace

extern "C" {

HMODULE LoadLibraryExA(LPCSTR fileName, HANDLE, DWORD) {
  if (!fileName || !fileName[0]) {
    gLoadError = "no file name";
    return nullptr;
  }
  std::string name = win32::ToNativePath(fileName);
  std::string path;
  if (name.find('/') != std::string::npos) {
    if (IsRegularFile(name)) path = name;
  } else {
    for (const std::string& folder : SearchFolders()) {
      path = FindInFolder(folder, name);
      if (!path.empty()) break;
    }
  }
  if (path.empty()) {
    gLoadError = name + ": no such file";
    return nullptr;
  }
  void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (module) {
    gLoadError.clear();
  } else {
    const char* why = dlerror();
    gLoadError = why ? why : path + ": not loaded";
  }
  return static_cast<HMODULE>(module);
}

HMODULE LoadLibraryA(LPCSTR fileName) { return LoadLibraryExA(fileName, nullptr, 0); }

const char* Win32LoadLibraryError(void) { return gLoadError.c_str(); }

FARPROC GetProcAddress(HMODULE module, LPCSTR name) {
  if (!module || !name) return nullptr;
  return reinterpret_cast<FARPROC>(dlsym(module, name));
}

BOOL FreeLibrary(HMODULE module) { return module && dlclose(module) == 0 ? TRUE : FALSE; }

HMODULE GetModuleHandleA(LPCSTR moduleName) {
  if (!moduleName) return static_cast<HMODULE>(dlopen(nullptr, RTLD_LAZY | RTLD_NOLOAD));
  ModuleSearch search{moduleName, std::string()};
  if (!dl_iterate_phdr(MatchModuleName, &search)) return nullptr;
  // The look-up must not add a reference: the handle stays valid while the module is loaded.
  void* handle = dlopen(search.path.c_str(), RTLD_LAZY | RTLD_NOLOAD);
  if (handle) dlclose(handle);
  return static_cast<HMODULE>(handle);
}

DWORD GetModuleFileNameA(HMODULE module, LPSTR fileName, DWORD size) {
  if (!fileName || size == 0) return 0;
  std::string path;
  link_map* map = nullptr;
  if (module && dlinfo(module, RTLD_DI_LINKMAP, &map) == 0 && map && map->l_name && map->l_name[0]) {
    char resolved[PATH_MAX];
    path = realpath(map->l_name, resolved) ? resolved : map->l_name;
  } else {
    char resolved[PATH_MAX];
    ssize_t length = readlink("/proc/self/exe", resolved, sizeof resolved - 1);
    if (length <= 0) return 0;
    resolved[length] = '\0';
    path = resolved;
  }
  if (path.size() >= size) {
    memcpy(fileName, path.data(), size - 1);
    fileName[size - 1] = '\0';
    return size;
  }
  memcpy(fileName, path.c_str(), path.size() + 1);
  return static_cast<DWORD>(path.size());
}

}  // extern "C"
