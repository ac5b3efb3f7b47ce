// The writer's options dialog: the default, the user's value, and cancelling.
#include <gtest/gtest.h>

#include "desktop/Desktop.h"
#include "writer/QNFMeshwright.h"

namespace {

TEST(OptionsTest, OptionsComeFromTheUserOrTheDefault) {
  enum Script { kUnscripted, kTakesDefault, kChoosesObj, kCancels };
  const struct {
    const char* name;
    Script script;
    int result;
    int options;
  } cases[] = {
      {"unscripted user", kUnscripted, 1, QNFMeshwright::kOptionsCollada},
      {"default taken", kTakesDefault, 1, QNFMeshwright::kOptionsCollada},
      {"OBJ chosen", kChoosesObj, 1, QNFMeshwright::kOptionsObj},
      {"cancelled", kCancels, 0, QNFMeshwright::kOptionsCollada},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    DesktopReset();
    if (c.script == kTakesDefault) DesktopSetWriterOptionsAnswer(1, 1, 0);
    if (c.script == kChoosesObj) DesktopSetWriterOptionsAnswer(1, 0, QNFMeshwright::kOptionsObj);
    if (c.script == kCancels) DesktopSetWriterOptionsAnswer(0, 0, QNFMeshwright::kOptionsObj);

    int options = 42;
    EXPECT_EQ(c.result, QNFMeshwright::GetVantrellOptions(options, nullptr) != 0 ? 1 : 0);
    EXPECT_EQ(c.options, options);
    EXPECT_EQ(1, DesktopCountEvents(kDesktopWriterOptions));
    EXPECT_EQ(1, DesktopEventCount());
  }
}

}  // namespace
