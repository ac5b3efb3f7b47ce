// 3D PDFs whose PRC another tool wrote (Asymptote's samples in the shared reference material
// beside the checkout): the Export reads them as their scripts drew them.
#include <gtest/gtest.h>

#include "HostFixture.h"
#include "PdfFixtures.h"
#include "Reimport.h"
#include "TestSupport.h"

using namespace testing_support;

namespace {

struct SampleCase {
  const char* file;
  std::vector<size_t> triangles;  // per mesh written
  bool unitCube;
};

void PrintTo(const SampleCase& c, std::ostream* out) { *out << c.file; }

class OtherTools : public ::testing::TestWithParam<SampleCase> {};

TEST_P(OtherTools, ExportReadsTheirPrc) {
  const std::string samples = ReferencePrcSamplesDir();
  if (samples.empty()) GTEST_SKIP() << "no reference samples beside the checkout";
  const SampleCase& c = GetParam();
  ScopedTempDir dir;
  ScopedEnv temp("temp", dir.path().c_str());
  pdf_fixtures::Page page;
  page.annotations = {pdf_fixtures::Prc(ReadFile(samples + "/" + c.file), true)};
  std::string pdf = dir.File("document.pdf");
  ASSERT_TRUE(pdf_fixtures::WritePdf(pdf, {page}));

  ProgramRun run = RunAcrohost({"export", pdf, dir.File("out.skp")});
  EXPECT_EQ(0, run.status) << run.err;
  EXPECT_EQ("", run.err);
  std::vector<TriangleMesh> meshes;
  std::string error;
  ASSERT_TRUE(ReimportMeshes(dir.File("out.skp"), &meshes, &error)) << error;
  std::vector<size_t> triangles;
  for (const TriangleMesh& mesh : meshes) triangles.push_back(mesh.size());
  EXPECT_EQ(c.triangles, triangles);
  // Asymptote's cubes are unit cubes: every corner is 0 or 1 in each coordinate.
  if (!c.unitCube) return;
  for (const TriangleMesh& mesh : meshes)
    for (const Triangle& triangle : mesh)
      for (float coordinate : triangle) EXPECT_TRUE(coordinate == 0.0f || coordinate == 1.0f) << coordinate;
}

INSTANTIATE_TEST_SUITE_P(Asymptote, OtherTools,
                         ::testing::Values(SampleCase{"cube_tri.prc", {12}, true},
                                           SampleCase{"cube_patch_tess.prc", {12}, true},
                                           SampleCase{"two_parts.prc", {4, 2}, false},
                                           SampleCase{"sphere_nurbs.prc", {}, false}),
                         [](const ::testing::TestParamInfo<SampleCase>& info) {
                           std::string name = info.param.file;
                           return name.substr(0, name.find('.'));
                         });

}  // namespace
