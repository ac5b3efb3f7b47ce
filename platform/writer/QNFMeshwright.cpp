// The writer's three operations: the options dialog, writing a mesh list, and the error text.
#include "writer/QNFMeshwright.h"

#include <errno.h>
#include <string.h>

#include <string>

#include "desktop/Desktop.h"
#include "writer/FileSystem.h"
#include "writer/MeshFormats.h"
#include "writer/MeshList.h"
#include "writer/OutputFile.h"

namespace {

// The text of the last failure; empty after a success.
std::string& LastError() {
  static std::string text;
  return text;
}

int Fail(const std::string& text) {
  LastError() = text;
  return 0;
}

// Why a file could not be written, in the user's words.
std::string FileErrorReason(int error) {
  switch (error) {
    case ENOENT:
    case ENOTDIR:
      return "the folder does not exist";
    case EACCES:
    case EPERM:
      return "permission denied";
    case EROFS:
      return "the disk is read-only";
    case ENOSPC:
      return "the disk is full";
    case EISDIR:
      return "it is a folder";
    case ENAMETOOLONG:
      return "the name is too long";
    case EBUSY:
      return "the file is in use";
    default: {
      std::string reason = strerror(error);
      if (!reason.empty() && reason[0] >= 'A' && reason[0] <= 'Z') reason[0] = static_cast<char>(reason[0] - 'A' + 'a');
      return reason.empty() ? "error " + std::to_string(error) : reason;
    }
  }
}

}  // namespace

int QNFMeshwright::GetVantrellOptions(int& options, const HWND* /*parent*/) {
  options = kOptionsCollada;
  return DesktopAskWriterOptions(&options) ? 1 : 0;
}

int QNFMeshwright::MeshToSKP(const ON_ClassArray<ON_Mesh>& meshes, CString path, int options, int /*reserved*/) {
  const std::string shown = path.GetString();
  if (shown.empty()) return Fail("Unable to write a file without a name");
  const std::string failure = "Unable to write the file " + shown + ": ";
  if (options != kOptionsCollada && options != kOptionsObj)
    return Fail(failure + "the options value " + std::to_string(options) + " is not one this writer knows");
  const std::string unwritable = meshwright::FindUnwritableMesh(meshes);
  if (!unwritable.empty()) return Fail(failure + unwritable);

  meshwright::OutputFile out;
  if (int error = out.Open(meshwright::NativePath(shown))) return Fail(failure + FileErrorReason(error));
  if (options == kOptionsObj)
    meshwright::WriteObj(meshes, out);
  else
    meshwright::WriteCollada(meshes, out);
  if (int error = out.Commit()) return Fail(failure + FileErrorReason(error));
  LastError().clear();
  return 1;
}

CString QNFMeshwright::GetError() { return CString(LastError().c_str()); }
