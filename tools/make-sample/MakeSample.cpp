// make-sample OUTPUT.pdf
//
// Writes the sample 3D PDF: one page with one 3D annotation per sample model, each PRC stream
// written by the plug-in's PRC builder through the stand-in 3D library and taken into the
// document by the stand-in host, as the road back hands meshes to a host.
#include <stdio.h>

#include <string>

#include "SampleMeshes.h"
#include "acrohost/Host.h"
#include "extraction/LastErrorText.h"
#include "extraction/PrcBuilder.h"
#include "host/HostTables.h"

namespace {

// The plug-in's table pointers, aimed at the host as a set-up would leave them.
void ImportTables(acrohost::Host& host) {
#define VANTRELL_IMPORT_TABLE(name)                                             \
  g##name##Table = host.tables().Table(acrohost::TableByName(#name));          \
  g##name##TableVersion = acrohost::kHostTableVersion;
  HOST_TABLES(VANTRELL_IMPORT_TABLE)
#undef VANTRELL_IMPORT_TABLE
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: make-sample OUTPUT.pdf\n");
    return 2;
  }
  acrohost::Host host;
  host.SetPrintNotes(true);
  ImportTables(host);
  host.documents().OpenNewMemoryDocument();
  for (const ON_ClassArray<ON_Mesh>& model : SampleModels()) {
    if (!PassMeshesToHostAsPrc(&model)) {
      fprintf(stderr, "make-sample: %s\n", GetLastErrorText().GetString());
      return 1;
    }
  }
  std::string error;
  if (!host.documents().active()->Save(argv[1], &error)) {
    fprintf(stderr, "make-sample: cannot save %s: %s\n", argv[1], error.c_str());
    return 1;
  }
  printf("sample written to %s\n", argv[1]);
  return 0;
}
