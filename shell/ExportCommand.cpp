#include "shell/ExportCommand.h"

#include "extraction/DocumentScan.h"
#include "extraction/LastErrorText.h"
#include "host/HostCalls.h"
#include "mfc/FileDialog.h"
#include "shell/HostVersion.h"
#include "writer/QNFMeshwright.h"

namespace {

// Hides the read-only check box and asks before an existing file is replaced.
const DWORD kSaveDialogFlags = 6;

void Alert(const CStringT<char>& text) { HostAlertNote(text); }

// Everything after the dialogs, while the dialog still holds the chosen path.
int ExportToChosenFile(CFileDialog& dialog, int options) {
  MeshList meshes;
  HostDocumentView view = HostAppGetActiveDocView();
  if (!ExtractMeshesFromDocument(&view, &meshes)) {
    Alert(GetLastErrorText());
    return 0;
  }
  if (!QNFMeshwright::MeshToSKP(meshes, dialog.GetPathName(), options, 0)) {
    Alert(QNFMeshwright::GetError());
    return 0;
  }
  return 1;
}

}  // namespace

void ExportCommand() {
  if (!RunExportGate()) return;
  PerformExport();
}

int RunExportGate() { return CheckHostVersion(1); }

int PerformExport() {
  CFileDialog dialog(FALSE, "skp", "Export.skp", kSaveDialogFlags, "SketchUp SKP Files (*.skp)|*.skp||", NULL, 0);
  if (dialog.DoModal() == IDCANCEL) return 0;
  int options = 0;
  if (!QNFMeshwright::GetVantrellOptions(options, NULL)) return 0;
  return ExportToChosenFile(dialog, options);
}
