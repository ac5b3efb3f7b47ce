// The framework's file dialog, CFileDialog: asks the user for a file to save (or open).
//
// The dialog passes its settings to the desktop as given. For a save dialog with
// OFN_OVERWRITEPROMPT it asks the user before a chosen file that already exists is replaced; a
// "no" cancels the dialog.
#ifndef VANTRELL_MFC_FILEDIALOG_H
#define VANTRELL_MFC_FILEDIALOG_H

#include <windows.h>

#include "mfc/CStringT.h"

// Results of DoModal.
#ifndef IDOK
#define IDOK 1
#endif
#ifndef IDCANCEL
#define IDCANCEL 2
#endif

// Flags of the dialog.
#ifndef OFN_OVERWRITEPROMPT
#define OFN_OVERWRITEPROMPT 0x00000002
#endif
#ifndef OFN_HIDEREADONLY
#define OFN_HIDEREADONLY 0x00000004
#endif

// A window of the framework; the dialog only passes its parent on.
class CWnd;

class CFileDialog {
 public:
  // openFileDialog: TRUE for an open dialog, FALSE for a save dialog. defaultExt (without the dot)
  // is added to a name typed without an extension; fileName is the name the dialog opens with;
  // filter is "Description|pattern|...|" ending with "||". Any text may be null. structSize 0 asks
  // for the framework's default dialog structure; the stand-in has only that one and ignores it.
  explicit CFileDialog(BOOL openFileDialog, LPCSTR defaultExt = nullptr, LPCSTR fileName = nullptr,
                       DWORD flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, LPCSTR filter = nullptr,
                       CWnd* parentWnd = nullptr, DWORD structSize = 0);
  virtual ~CFileDialog();
  CFileDialog(const CFileDialog&) = delete;
  CFileDialog& operator=(const CFileDialog&) = delete;

  // Shows the dialog: IDOK when the user chose a file, IDCANCEL when the user cancelled or refused
  // to replace an existing file.
  virtual INT_PTR DoModal();

  // The full path of the chosen file, the default extension added where the user typed none.
  // Before a successful DoModal: the initial file name ("" when none was given).
  CString GetPathName() const;

 private:
  // A text that may be absent (the dialog keeps null settings null).
  struct OptionalText {
    explicit OptionalText(LPCSTR given) : present(given != nullptr), text(given) {}
    const char* Get() const { return present ? text.GetString() : nullptr; }
    bool present;
    CString text;
  };

  bool m_openFileDialog;
  OptionalText m_defaultExt;
  OptionalText m_fileName;
  DWORD m_flags;
  OptionalText m_filter;
  CWnd* m_parentWnd;
  CString m_pathName;
};

#endif
