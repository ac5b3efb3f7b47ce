// Export: saves the 3D content of the active document through the writer library.
//
// In this order: the host version check, the save-file dialog, the writer's options, the active
// document view, the extraction, the writer. A failure shows exactly one host alert; cancelling a
// dialog, like success, shows nothing.
#ifndef VANTRELL_SHELL_EXPORTCOMMAND_H
#define VANTRELL_SHELL_EXPORTCOMMAND_H

// Runs the gate and, when it lets the command go on, PerformExport.
void ExportCommand();

// 1 when the host's major version is 9; otherwise the version alert has been shown and 0.
int RunExportGate();

// The body of the command. 1 when the writer reported that it wrote the file, else 0.
int PerformExport();

#endif
