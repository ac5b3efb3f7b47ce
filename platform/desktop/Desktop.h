// The desktop: the user in front of the host, as the stand-ins see them.
//
// Every dialog that the platform layers open asks the desktop for the user's answer, and every
// alert, About box and file handed to the shell is shown through it and recorded. Tests script the
// answers and read the record; the host program fills the answers from its command line and has
// the desktop echo what it shows ("alert: TEXT" on stderr, "about: TEXT" and "open: PATH" on
// stdout).
//
// One desktop serves the whole process: it is a shared library, and the host program, the
// plug-in's framework layer, the writer and the GUI library all reach the same one. The interface
// is plain C so that it crosses module boundaries on both targets.
#ifndef VANTRELL_DESKTOP_DESKTOP_H
#define VANTRELL_DESKTOP_DESKTOP_H

#include <stddef.h>

#if defined(_WIN32)
#if defined(DESKTOP_BUILDING)
#define DESKTOP_API __declspec(dllexport)
#else
#define DESKTOP_API __declspec(dllimport)
#endif
#else
#define DESKTOP_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

// What a save-file dialog was opened with.
typedef struct DesktopSaveRequest {
  int isSaveDialog;          // 1 for a save dialog, 0 for an open dialog
  const char* defaultExt;    // added to a name typed without an extension; may be null
  const char* initialName;   // may be null
  unsigned long flags;       // the dialog's flags as the framework received them
  const char* filter;        // the framework's filter string, "A|*.a||"
  const void* parentWindow;  // null when the dialog has no parent
} DesktopSaveRequest;

// Kinds of recorded events.
enum DesktopEventKind {
  kDesktopAlert = 1,          // text: the alert's text
  kDesktopAbout = 2,          // text: the About box's title
  kDesktopOpen = 3,           // text: the path handed to the shell
  kDesktopSaveDialog = 4,     // text: the initial name; see DesktopLastSaveRequest for the rest
  kDesktopOverwrite = 5,      // text: the path the user was asked to replace
  kDesktopWriterOptions = 6,  // text: empty
};

// ---- Scripting the user (tests, the host program's command line) ----

// Forgets every scripted answer and every recorded event; echo is switched off.
DESKTOP_API void DesktopReset(void);
// Prints each alert, About box and opened file as it is shown.
DESKTOP_API void DesktopSetEcho(int on);
// The user's next answer to a save-file dialog: a path, or null to cancel. Answers are used in
// order; a dialog with no answer left is cancelled.
DESKTOP_API void DesktopQueueSaveAnswer(const char* pathOrNull);
// The user's answer when asked to replace an existing file (default: yes).
DESKTOP_API void DesktopSetOverwriteAnswer(int yes);
// The user's answer to the writer's options dialog: accept (with value, or with the writer's
// default when useDefault is set), or cancel. Unscripted, the user accepts the default.
DESKTOP_API void DesktopSetWriterOptionsAnswer(int accept, int useDefault, int value);
// Extensions (".chm", ...) for which the shell has a program; a file of any other extension
// cannot be opened. Passing null restores the default list: ".chm .pdf .skp .dae .obj .txt .html".
DESKTOP_API void DesktopSetOpenableExtensions(const char* spaceSeparatedOrNull);

// ---- What the platform layers ask ----

// A save-file dialog: writes the full path of the chosen file (the default extension already
// added) into out and returns 1, or returns 0 when the user cancels. Asking before replacing an
// existing file is the framework's job, through DesktopAskOverwrite.
DESKTOP_API int DesktopAskSavePath(const DesktopSaveRequest* request, char* out, size_t outSize);
// The user's answer (1 yes, 0 no) to replacing the existing file at path.
DESKTOP_API int DesktopAskOverwrite(const char* path);
// The writer's options dialog: returns 1 and sets *value when accepted (leaving *value, the
// writer's default, when the user takes the default), 0 when cancelled.
DESKTOP_API int DesktopAskWriterOptions(int* value);
DESKTOP_API void DesktopShowAlert(const char* text);
DESKTOP_API void DesktopShowAbout(const char* title);
// The shell opens a file: returns 1 and records it when a program exists for its extension,
// else 0. The caller has already checked that the file exists.
DESKTOP_API int DesktopOpenFile(const char* path);

// ---- The record ----

DESKTOP_API int DesktopEventCount(void);
// Kind of event i (0-based), or 0 when there is none; its text is copied into text (truncated
// to textSize, always terminated) when text is not null.
DESKTOP_API int DesktopEvent(int i, char* text, size_t textSize);
// Counts events of one kind.
DESKTOP_API int DesktopCountEvents(int kind);
// The settings of the last save-file dialog opened; the strings stay valid until the next
// dialog or DesktopReset. Returns 0 when no dialog was opened since the reset.
DESKTOP_API int DesktopLastSaveRequest(DesktopSaveRequest* out);

#ifdef __cplusplus
}
#endif

#endif
