// What a plug-in needs to hand a PRC file to the host: the host's allocator (AcroSupport 1 and 3),
// its file system and path names (AcroSupport 123, 52, 25), containers (ASExtra 3, 12, 19), and
// the hand-over itself (AcroView 485), which adds the file's contents to the active document as a
// new 3D annotation.
//
// Blocks, path names and containers are counted while they are outstanding, so that tests can
// check that a plug-in gives back everything it took.
#ifndef VANTRELL_ACROHOST_HANDOVER_H
#define VANTRELL_ACROHOST_HANDOVER_H

#include <stdint.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "host/HostTypes.h"

namespace acrohost {

class Host;

// One file that a plug-in handed over.
struct HandOverRecord {
  std::string path;           // as the plug-in named it
  std::string containerName;  // as ASExtra 19 named the container; empty when it was not named
  size_t bytes = 0;           // the file's size
  bool added = false;         // the annotation was added to a document
};

class HandOver {
 public:
  HandOver();
  ~HandOver();
  HandOver(const HandOver&) = delete;
  HandOver& operator=(const HandOver&) = delete;

  // ---- Allocator ----
  // A block of at least size bytes (a distinct block for 0); null when memory is short, or when
  // the block would be larger than the limit a test set.
  void* Allocate(size_t size);
  // Blocks larger than this many bytes are refused from now on, as by a host short of memory.
  void SetAllocationLimit(size_t bytes) { m_allocationLimit = bytes; }
  // False, and nothing is freed, for a pointer that is not an outstanding block.
  bool Free(void* block);
  size_t outstandingBlocks() const { return m_blocks.size(); }

  // ---- File system and path names ----
  // The host's one file system, for paths of the type "Cstring"; null for any other type.
  HostFileSys FileSysFor(HostAtom pathType, HostAtom cstringAtom) const;
  HostPathName CreatePath(const std::string& path);
  // False for a path name that is not outstanding.
  bool ReleasePath(HostPathName path);
  // The path behind a path name; null for an unknown one.
  const std::string* PathOf(HostPathName path) const;
  bool IsFileSys(HostFileSys fileSys) const { return fileSys == m_fileSys; }
  size_t outstandingPathNames() const { return m_paths.size(); }

  // ---- Containers ----
  HostContainer NewContainer();
  bool DestroyContainer(HostContainer container);
  bool NameContainer(HostContainer container, const std::string& name);
  // Null for an unknown container.
  const std::string* ContainerName(HostContainer container) const;
  size_t outstandingContainers() const { return m_containers.size(); }

  // ---- Hand-overs ----
  void Record(const HandOverRecord& record) { m_records.push_back(record); }
  const std::vector<HandOverRecord>& records() const { return m_records; }

 private:
  std::set<void*> m_blocks;
  size_t m_allocationLimit = SIZE_MAX;
  HostFileSys m_fileSys;
  std::map<uintptr_t, std::string> m_paths;
  std::map<uintptr_t, std::string> m_containers;
  std::vector<HandOverRecord> m_records;
};

// Reads a whole file named by a plug-in (a Windows path: backslashes separate folders). False,
// with the reason, when it cannot be read.
bool ReadPlugInFile(const std::string& path, std::string* bytes, std::string* error);

// The host's side of a hand-over: the file's contents become a new 3D annotation (a "3DD" stream
// of subtype PRC) on the first page of the active document. With no document open the file
// becomes a new in-memory document, and a document without pages gets one. False, with the
// reason, when the file cannot be read or the annotation cannot be added; *bytes is the file's
// size once it was read.
bool TakePrcFile(Host& host, const std::string& path, size_t* bytes, std::string* error);

}  // namespace acrohost

#endif
