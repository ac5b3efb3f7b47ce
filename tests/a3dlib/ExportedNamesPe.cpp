#include "ExportedNames.h"

#include <windows.h>

#include <algorithm>

#include "TestSupport.h"

namespace a3dtest {

namespace {

// A PE file's bytes (held by the caller), PE32 or PE32+ (the 64-bit build's), read with every
// offset checked against the file's end.
class PeFile {
 public:
  explicit PeFile(const std::string& bytes) : m_bytes(bytes) {
    const IMAGE_DOS_HEADER* dos = At<IMAGE_DOS_HEADER>(0);
    if (!dos || dos->e_magic != IMAGE_DOS_SIGNATURE || dos->e_lfanew < 0) return;
    const size_t headersAt = static_cast<size_t>(dos->e_lfanew);
    const DWORD* signature = At<DWORD>(headersAt);
    const size_t fileHeaderAt = headersAt + sizeof(DWORD);
    const IMAGE_FILE_HEADER* fileHeader = At<IMAGE_FILE_HEADER>(fileHeaderAt);
    if (!signature || *signature != IMAGE_NT_SIGNATURE || !fileHeader) return;
    // The two optional headers differ in their fields' widths, and so in where the data
    // directories begin; both start with the magic that tells them apart.
    const size_t optionalAt = fileHeaderAt + sizeof(IMAGE_FILE_HEADER);
    const WORD* magic = At<WORD>(optionalAt);
    if (!magic) return;
    if (*magic == IMAGE_NT_OPTIONAL_HDR32_MAGIC) {
      if (!ReadDirectories<IMAGE_OPTIONAL_HEADER32>(optionalAt)) return;
    } else if (*magic == IMAGE_NT_OPTIONAL_HDR64_MAGIC) {
      if (!ReadDirectories<IMAGE_OPTIONAL_HEADER64>(optionalAt)) return;
    } else {
      return;
    }
    m_fileHeader = fileHeader;
    m_sectionsAt = optionalAt + fileHeader->SizeOfOptionalHeader;
  }

  bool valid() const { return m_fileHeader != nullptr; }

  // The export directory; null when the file has none.
  const IMAGE_EXPORT_DIRECTORY* Exports() const {
    if (m_directoryCount <= IMAGE_DIRECTORY_ENTRY_EXPORT) return nullptr;
    const IMAGE_DATA_DIRECTORY& entry = m_directories[IMAGE_DIRECTORY_ENTRY_EXPORT];
    size_t offset = 0;
    if (entry.Size == 0 || !OffsetOf(entry.VirtualAddress, &offset)) return nullptr;
    return At<IMAGE_EXPORT_DIRECTORY>(offset);
  }

  // The file offset of an address of the loaded image; false when no section holds it.
  bool OffsetOf(DWORD rva, size_t* offset) const {
    for (WORD i = 0; i < m_fileHeader->NumberOfSections; ++i) {
      const IMAGE_SECTION_HEADER* section = At<IMAGE_SECTION_HEADER>(m_sectionsAt + i * sizeof(IMAGE_SECTION_HEADER));
      if (!section) return false;
      if (rva >= section->VirtualAddress && rva - section->VirtualAddress < section->SizeOfRawData) {
        *offset = section->PointerToRawData + (rva - section->VirtualAddress);
        return true;
      }
    }
    return false;
  }

  template <typename T>
  const T* At(size_t offset) const {
    if (offset > m_bytes.size() || m_bytes.size() - offset < sizeof(T)) return nullptr;
    return reinterpret_cast<const T*>(m_bytes.data() + offset);
  }

  // The zero-terminated string at an address of the loaded image; false when it leaves the file.
  bool StringAt(DWORD rva, std::string* text) const {
    size_t offset = 0;
    if (!OffsetOf(rva, &offset)) return false;
    size_t end = m_bytes.find('\0', offset);
    if (end == std::string::npos) return false;
    *text = m_bytes.substr(offset, end - offset);
    return true;
  }

 private:
  // Takes the data directories of an optional header of the given kind; false when it leaves the file.
  template <typename OptionalHeader>
  bool ReadDirectories(size_t optionalAt) {
    const OptionalHeader* optional = At<OptionalHeader>(optionalAt);
    if (!optional) return false;
    m_directories = optional->DataDirectory;
    m_directoryCount = std::min<DWORD>(optional->NumberOfRvaAndSizes, IMAGE_NUMBEROF_DIRECTORY_ENTRIES);
    return true;
  }

  const std::string& m_bytes;
  const IMAGE_FILE_HEADER* m_fileHeader = nullptr;
  const IMAGE_DATA_DIRECTORY* m_directories = nullptr;
  DWORD m_directoryCount = 0;
  size_t m_sectionsAt = 0;
};

}  // namespace

std::set<std::string> ExportedNames(const std::string& path) {
  std::set<std::string> names;
  const std::string bytes = testing_support::ReadFile(path);
  PeFile file(bytes);
  if (!file.valid()) return names;
  const IMAGE_EXPORT_DIRECTORY* exports = file.Exports();
  size_t namesAt = 0;
  if (!exports || !file.OffsetOf(exports->AddressOfNames, &namesAt)) return names;
  for (DWORD i = 0; i < exports->NumberOfNames; ++i) {
    const DWORD* nameRva = file.At<DWORD>(namesAt + i * sizeof(DWORD));
    std::string name;
    if (!nameRva || !file.StringAt(*nameRva, &name)) break;
    names.insert(name);
  }
  return names;
}

}  // namespace a3dtest
