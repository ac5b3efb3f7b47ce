#include "acrohost/HandOver.h"

#include <stdlib.h>

#include "acrohost/Handles.h"
#include "acrohost/Host.h"
#include "acrohost/Operations.h"

// Last: on Linux it renames fopen to the stand-in that reads Windows paths.
#include <windows.h>

namespace acrohost {

namespace {

const char kCstring[] = "Cstring";

// The 3D annotation that carries a handed-over PRC file.
CosValue PrcAnnotation(const std::string& bytes) {
  CosValue data = CosValue::Stream({{"Type", CosValue::Name("3D")}, {"Subtype", CosValue::Name("PRC")}}, bytes);
  return CosValue::Dictionary({
      {"Type", CosValue::Name("Annot")},
      {"Subtype", CosValue::Name("3D")},
      {"Rect", CosValue::Array({CosValue::Integer(0), CosValue::Integer(0), CosValue::Integer(200),
                                CosValue::Integer(200)})},
      {"3DD", data},
  });
}

bool IsCstring(Host& host, HostAtom pathType) {
  const std::string* text = host.atoms().Text(pathType);
  return text && *text == kCstring;
}

}  // namespace

HandOver::HandOver() : m_fileSys(NewHandle<HostFileSys>()) {}

HandOver::~HandOver() {
  for (void* block : m_blocks) free(block);
}

void* HandOver::Allocate(size_t size) {
  if (size > m_allocationLimit) return nullptr;
  void* block = malloc(size ? size : 1);
  if (block) m_blocks.insert(block);
  return block;
}

bool HandOver::Free(void* block) {
  if (m_blocks.erase(block) == 0) return false;
  free(block);
  return true;
}

HostFileSys HandOver::FileSysFor(HostAtom pathType, HostAtom cstringAtom) const {
  return pathType != Atoms::kNull && pathType == cstringAtom ? m_fileSys : nullptr;
}

HostPathName HandOver::CreatePath(const std::string& path) {
  HostPathName name = NewHandle<HostPathName>();
  m_paths[HandleKey(name)] = path;
  return name;
}

bool HandOver::ReleasePath(HostPathName path) { return m_paths.erase(HandleKey(path)) == 1; }

const std::string* HandOver::PathOf(HostPathName path) const {
  auto found = m_paths.find(HandleKey(path));
  return found == m_paths.end() ? nullptr : &found->second;
}

HostContainer HandOver::NewContainer() {
  HostContainer container = NewHandle<HostContainer>();
  m_containers[HandleKey(container)] = std::string();
  return container;
}

bool HandOver::DestroyContainer(HostContainer container) { return m_containers.erase(HandleKey(container)) == 1; }

bool HandOver::NameContainer(HostContainer container, const std::string& name) {
  auto found = m_containers.find(HandleKey(container));
  if (found == m_containers.end()) return false;
  found->second = name;
  return true;
}

const std::string* HandOver::ContainerName(HostContainer container) const {
  auto found = m_containers.find(HandleKey(container));
  return found == m_containers.end() ? nullptr : &found->second;
}

bool ReadPlugInFile(const std::string& path, std::string* bytes, std::string* error) {
  FILE* file = fopen(path.c_str(), "rb");
  if (!file) {
    *error = "cannot open " + path;
    return false;
  }
  bytes->clear();
  char buffer[65536];
  size_t got;
  while ((got = fread(buffer, 1, sizeof buffer, file)) > 0) bytes->append(buffer, got);
  bool failed = ferror(file) != 0;
  fclose(file);
  if (failed) *error = "cannot read " + path;
  return !failed;
}

namespace ops {

void* HostMemAlloc(size_t size) {
  Host* host = Host::Current();
  return host ? host->handOver().Allocate(size) : nullptr;
}

void HostMemFree(void* block) {
  Host* host = Host::Current();
  if (host && block && !host->handOver().Free(block))
    host->Note("AcroSupport 3 was given a block that the host did not allocate");
}

HostFileSys HostFileSysForPath(HostAtom pathType, const char* path) {
  Host* host = Host::Current();
  if (!host || !path) return nullptr;
  return host->handOver().FileSysFor(pathType, host->atoms().Find(kCstring));
}

HostPathName HostFileSysCreatePath(HostFileSys fileSys, HostAtom pathType, const char* path, void* relativeTo) {
  Host* host = Host::Current();
  if (!host) return nullptr;
  if (!host->handOver().IsFileSys(fileSys) || !IsCstring(*host, pathType) || !path) {
    host->Note("AcroSupport 52 makes path names of the host's file system from \"Cstring\" paths only");
    return nullptr;
  }
  if (relativeTo) {
    host->Note("AcroSupport 52 makes no path names relative to another");
    return nullptr;
  }
  return host->handOver().CreatePath(path);
}

void HostFileSysReleasePath(HostFileSys fileSys, HostPathName path) {
  Host* host = Host::Current();
  if (!host) return;
  if (!host->handOver().IsFileSys(fileSys)) host->Note("AcroSupport 25 was given no file system of the host");
  if (!host->handOver().ReleasePath(path)) host->Note("AcroSupport 25 was given a path name that is not outstanding");
}

HostContainer HostContainerNew(void) {
  Host* host = Host::Current();
  return host ? host->handOver().NewContainer() : nullptr;
}

void HostContainerDestroy(HostContainer container) {
  Host* host = Host::Current();
  if (host && !host->handOver().DestroyContainer(container))
    host->Note("ASExtra 12 was given a container that does not exist");
}

int32_t HostContainerSetName(HostContainer container, const char* name) {
  Host* host = Host::Current();
  if (!host) return 0;
  if (!name || !host->handOver().NameContainer(container, name)) {
    host->Note("ASExtra 19 was given no container or no name");
    return 0;
  }
  return 1;
}

int32_t HostTakePrcFile(HostPathName path, HostFileSys fileSys, HostContainer container) {
  Host* host = Host::Current();
  if (!host) return 0;
  HandOver& handOver = host->handOver();
  const std::string* file = handOver.PathOf(path);
  if (!file || !handOver.IsFileSys(fileSys)) {
    host->Note("AcroView 485 was given no path name of the host's file system");
    return 0;
  }
  HandOverRecord record;
  record.path = *file;
  if (const std::string* name = handOver.ContainerName(container)) record.containerName = *name;
  std::string error;
  record.added = TakePrcFile(*host, *file, &record.bytes, &error);
  if (!record.added) host->Note("cannot take the PRC file: " + error);
  handOver.Record(record);
  return record.added ? 1 : 0;
}

}  // namespace ops

bool TakePrcFile(Host& host, const std::string& path, size_t* bytes, std::string* error) {
  std::string contents;
  if (!ReadPlugInFile(path, &contents, error)) return false;
  *bytes = contents.size();
  // With no document open, the file becomes a new document, as when the user opens a 3D file.
  Documents& documents = host.documents();
  Document* document = documents.active();
  if (!document) document = &documents.OpenNewMemoryDocument();
  if (document->PageCount() == 0 && document->AppendPage(error) < 0) return false;
  return document->AddAnnotation(0, PrcAnnotation(contents), error);
}

}  // namespace acrohost
