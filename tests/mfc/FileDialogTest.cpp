// The save-file dialog: its settings reach the user unchanged, and an existing file is replaced
// only when the user agrees.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "TestSupport.h"
#include "desktop/Desktop.h"
#include "mfc/FileDialog.h"

namespace {

using testing_support::ScopedTempDir;
using testing_support::WriteFile;

const char kFilter[] = "SketchUp SKP Files (*.skp)|*.skp||";

class FileDialogTest : public ::testing::Test {
 protected:
  void SetUp() override { DesktopReset(); }
  void TearDown() override { DesktopReset(); }

  ScopedTempDir m_dir;
};

TEST_F(FileDialogTest, SaveDialogPassesItsSettingsAndGivesThePath) {
  int windowStandIn = 0;
  CWnd* parent = reinterpret_cast<CWnd*>(&windowStandIn);
  const std::string chosen = m_dir.File("model.skp");
  DesktopQueueSaveAnswer(chosen.c_str());

  CFileDialog dialog(FALSE, "skp", "Export.skp", OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, kFilter, parent, 0);
  EXPECT_EQ(IDOK, dialog.DoModal());
  EXPECT_EQ(chosen, dialog.GetPathName().GetString());

  DesktopSaveRequest request;
  ASSERT_EQ(1, DesktopLastSaveRequest(&request));
  EXPECT_EQ(1, request.isSaveDialog);
  EXPECT_STREQ("skp", request.defaultExt);
  EXPECT_STREQ("Export.skp", request.initialName);
  EXPECT_EQ(6u, request.flags);
  EXPECT_STREQ(kFilter, request.filter);
  EXPECT_EQ(static_cast<const void*>(parent), request.parentWindow);
}

TEST_F(FileDialogTest, OpenDialogWithDefaultsPassesNullTexts) {
  DesktopQueueSaveAnswer(m_dir.File("any.txt").c_str());
  CFileDialog dialog(TRUE);
  EXPECT_EQ(IDOK, dialog.DoModal());

  DesktopSaveRequest request;
  ASSERT_EQ(1, DesktopLastSaveRequest(&request));
  EXPECT_EQ(0, request.isSaveDialog);
  EXPECT_EQ(nullptr, request.defaultExt);
  EXPECT_EQ(nullptr, request.initialName);
  EXPECT_EQ(nullptr, request.filter);
  EXPECT_EQ(nullptr, request.parentWindow);
  EXPECT_EQ(static_cast<unsigned long>(OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT), request.flags);
}

TEST_F(FileDialogTest, DefaultExtensionIsAddedToANameWithoutOne) {
  const struct {
    const char* typed;
    const char* path;
  } cases[] = {
      {"model", "model.skp"},
      {"model.dae", "model.dae"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    DesktopQueueSaveAnswer(m_dir.File(c.typed).c_str());
    CFileDialog dialog(FALSE, "skp", "Export.skp", OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, kFilter);
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_EQ(m_dir.File(c.path), dialog.GetPathName().GetString());
  }
}

TEST_F(FileDialogTest, CancelKeepsTheInitialNameAndAsksNothingElse) {
  CFileDialog dialog(FALSE, "skp", "Export.skp", OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, kFilter);
  EXPECT_EQ(IDCANCEL, dialog.DoModal());
  EXPECT_STREQ("Export.skp", dialog.GetPathName());
  EXPECT_EQ(1, DesktopEventCount());
  EXPECT_EQ(0, DesktopCountEvents(kDesktopOverwrite));
}

// Whether the user is asked before a file is replaced, and what the answer does.
TEST_F(FileDialogTest, ExistingFileIsReplacedOnlyWhenTheUserAgrees) {
  enum Target { kNewFile, kExistingFile, kFolder, kExistingFileBackslashed };
  const struct {
    const char* name;
    BOOL openDialog;
    DWORD flags;
    Target target;
    int userSaysYes;
    INT_PTR result;
    int questions;
  } cases[] = {
      {"existing file, yes", FALSE, 6, kExistingFile, 1, IDOK, 1},
      {"existing file, no", FALSE, 6, kExistingFile, 0, IDCANCEL, 1},
      {"new file", FALSE, 6, kNewFile, 0, IDOK, 0},
      {"without the prompt flag", FALSE, OFN_HIDEREADONLY, kExistingFile, 0, IDOK, 0},
      {"open dialog", TRUE, 6, kExistingFile, 0, IDOK, 0},
      {"a folder is no file to replace", FALSE, 6, kFolder, 0, IDOK, 0},
      {"backslash separators", FALSE, 6, kExistingFileBackslashed, 0, IDCANCEL, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    DesktopReset();
    ScopedTempDir dir;
    std::string path = dir.File("model.skp");
    if (c.target == kExistingFile || c.target == kExistingFileBackslashed) {
      ASSERT_TRUE(WriteFile(path, "old"));
    }
    if (c.target == kFolder) {
      ASSERT_TRUE(std::filesystem::create_directory(path));
    }
    if (c.target == kExistingFileBackslashed) path = dir.path() + "\\model.skp";
    DesktopQueueSaveAnswer(path.c_str());
    DesktopSetOverwriteAnswer(c.userSaysYes);

    CFileDialog dialog(c.openDialog, "skp", "Export.skp", c.flags, kFilter);
    EXPECT_EQ(c.result, dialog.DoModal());
    EXPECT_EQ(c.questions, DesktopCountEvents(kDesktopOverwrite));
    if (c.questions) {
      char asked[4096];
      ASSERT_EQ(kDesktopOverwrite, DesktopEvent(1, asked, sizeof asked));
      EXPECT_EQ(path, asked);
    }
    EXPECT_EQ(c.result == IDOK ? path : std::string("Export.skp"), dialog.GetPathName().GetString());
  }
}

}  // namespace
