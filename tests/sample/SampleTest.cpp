// The sample 3D PDF that ships with the project: it is what the project's own tool makes, and the
// main job's Export of it writes the sample's meshes.
#include <gtest/gtest.h>

#include <stdlib.h>

#include "HostFixture.h"
#include "Reimport.h"
#include "TestSupport.h"

using namespace testing_support;

namespace {

std::vector<TriangleMesh> Exported(const std::string& pdf, const ScopedTempDir& dir, const std::string& name) {
  std::string output = dir.File(name);
  ProgramRun run = RunAcrohost({"export", pdf, output});
  EXPECT_EQ(0, run.status) << run.err;
  EXPECT_EQ("", run.err);
  std::vector<TriangleMesh> meshes;
  std::string error;
  EXPECT_TRUE(ReimportMeshes(output, &meshes, &error)) << error;
  return meshes;
}

TEST(Sample, ExportsTheHouseAndTheTree) {
  ScopedTempDir dir;
  ScopedEnv temp("temp", dir.path().c_str());
  std::vector<TriangleMesh> meshes = Exported(SourceDir() + "/samples/Sample.pdf", dir, "Sample.skp");
  ASSERT_EQ(2u, meshes.size());
  // The house: walls and door as boxes of quads (12 triangles each), the roof's four sides and base.
  EXPECT_EQ(30u, meshes[0].size());
  // The tree: a box trunk and an octahedron crown.
  EXPECT_EQ(20u, meshes[1].size());
}

TEST(Sample, IsWhatMakeSampleWrites) {
  ScopedTempDir dir;
  ScopedEnv temp("temp", dir.path().c_str());
  std::string fresh = dir.File("fresh.pdf");
  std::string command = "\"" + BinDir() + "/make-sample\" \"" + fresh + "\" > \"" + dir.File("out") + "\"";
  ASSERT_EQ(0, system(command.c_str()));
  EXPECT_EQ(ReadFile(SourceDir() + "/samples/Sample.pdf"), ReadFile(fresh))
      << "samples/Sample.pdf is out of date: run make-sample samples/Sample.pdf";
  EXPECT_EQ(Exported(fresh, dir, "fresh.skp"), Exported(SourceDir() + "/samples/Sample.pdf", dir, "committed.skp"));
}

}  // namespace
