// The hand-over of a PRC file (AcroSupport 1, 3, 25, 52, 123; ASExtra 3, 12, 19; AcroView 485):
// the file becomes a new 3D annotation on the first page of the active document, which reads
// back through the tables and after the document is saved; and everything a plug-in takes is
// counted until it gives it back.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "HostFixture.h"
#include "PdfFixtures.h"
#include "TestSupport.h"
#include "host/HostCalls.h"

namespace {

using pdf_fixtures::Page;
using testing_support::HostFixture;
using testing_support::ScopedTempDir;

// The steps a plug-in takes to hand a file over; AcroView 485's answer.
int32_t HandOver(const std::string& path) {
  HostAtom cstring = HostAtomFromString("Cstring");
  HostFileSys fileSys = HostFileSysForPath(cstring, path.c_str());
  HostPathName name = HostFileSysCreatePath(fileSys, cstring, path.c_str(), nullptr);
  HostContainer container = HostContainerNew();
  HostContainerSetName(container, "Model");
  int32_t taken = HostTakePrcFile(name, fileSys, container);
  HostFileSysReleasePath(fileSys, name);
  HostContainerDestroy(container);
  return taken;
}

// The last annotation of the first page of the active document, as "SUBTYPE TYPE/SUBTYPE-OF-3DD
// (N bytes)", and its contents.
std::string LastAnnotation(HostFixture& fixture, std::string* contents) {
  HostDoc doc = HostDocViewGetDoc(HostAppGetActiveDocView());
  HostPage page = HostDocAcquirePage(doc, 0);
  int32_t count = HostPageGetNumAnnots(page);
  if (count == 0) return "none";
  HostAnnot annot = HostPageGetAnnot(page, count - 1);
  HostCosObj data = HostCosDictGet(HostAnnotGetCosObj(annot), HostAtomFromString("3DD"));
  const acrohost::Atoms& atoms = fixture.host().atoms();
  auto text = [&](HostAtom atom) { return atoms.Text(atom) ? *atoms.Text(atom) : std::string("(null)"); };
  std::string description = text(HostAnnotGetSubtype(annot)) + " " +
                            text(HostCosNameValue(HostCosDictGet(data, HostAtomFromString("Type")))) + "/" +
                            text(HostCosNameValue(HostCosDictGet(data, HostAtomFromString("Subtype"))));
  HostStream stream = HostCosStreamOpen(data, 2);
  contents->clear();
  char buffer[1024];
  int32_t got;
  while ((got = HostStreamRead(buffer, 1, sizeof buffer, stream)) > 0) contents->append(buffer, got);
  HostStreamClose(stream);
  return description;
}

int32_t PageCount() { return HostDocGetNumPages(HostDocViewGetDoc(HostAppGetActiveDocView())); }
int32_t AnnotationCount() {
  return HostPageGetNumAnnots(HostDocAcquirePage(HostDocViewGetDoc(HostAppGetActiveDocView()), 0));
}

TEST(HandOver, TheFileBecomesANew3DAnnotationOnTheFirstPage) {
  enum Start { kNothingOpen, kMemoryWithoutPages, kMemoryWithAnnotations, kPdfIndirectAnnots, kPdfNoAnnots };
  struct Case {
    const char* what;
    Start start;
    int32_t pages;        // afterwards
    int32_t annotations;  // on the first page afterwards
  };
  const Case cases[] = {
      {"no document open: a new one", kNothingOpen, 1, 1},
      {"a document without pages: a page is made", kMemoryWithoutPages, 1, 1},
      {"after the page's annotations", kMemoryWithAnnotations, 2, 3},
      {"into an indirect /Annots of a PDF file", kPdfIndirectAnnots, 1, 2},
      {"a PDF page without /Annots", kPdfNoAnnots, 2, 1},
  };
  const std::string prc = pdf_fixtures::PatternBytes(5000, 9);
  const bool pdfFiles = pdf_fixtures::HavePdfFiles();
  for (const Case& c : cases) {
    if (!pdfFiles && (c.start == kPdfIndirectAnnots || c.start == kPdfNoAnnots)) continue;
    SCOPED_TRACE(c.what);
    ScopedTempDir dir;
    ASSERT_TRUE(testing_support::WriteFile(dir.File("model.prc"), prc));
    HostFixture fixture;
    Page two{Page::kDirect, {pdf_fixtures::Other("Text"), pdf_fixtures::Prc("old")}};
    if (c.start == kMemoryWithoutPages) fixture.OpenMemoryDocument();
    if (c.start == kMemoryWithAnnotations) fixture.OpenDocument(pdf_fixtures::BuildDocument({two, two}));
    if (c.start == kPdfIndirectAnnots || c.start == kPdfNoAnnots) {
      Page page = c.start == kPdfIndirectAnnots ? Page{Page::kIndirect, {pdf_fixtures::Other("Link")}}
                                                : Page{Page::kMissing, {}};
      std::vector<Page> pages{page};
      if (c.start == kPdfNoAnnots) pages.push_back(two);
      ASSERT_TRUE(pdf_fixtures::WritePdf(dir.File("doc.pdf"), pages));
      ASSERT_TRUE(fixture.OpenPdf(dir.File("doc.pdf")));
    }

    EXPECT_EQ(HandOver(dir.File("model.prc")), 1);
    std::filesystem::remove(dir.File("model.prc"));  // the host has read it before returning
    EXPECT_EQ(PageCount(), c.pages);
    EXPECT_EQ(AnnotationCount(), c.annotations);
    std::string contents;
    EXPECT_EQ(LastAnnotation(fixture, &contents), "3D 3D/PRC");
    EXPECT_TRUE(contents == prc);

    // It reads back the same from the saved file.
    if (pdfFiles) {
      std::string error;
      acrohost::Document* active = fixture.host().documents().active();
      ASSERT_TRUE(active->Save(dir.File("saved.pdf"), &error)) << error;
      ASSERT_TRUE(fixture.OpenPdf(dir.File("saved.pdf"), &error)) << error;
      EXPECT_EQ(PageCount(), c.pages);
      EXPECT_EQ(AnnotationCount(), c.annotations);
      EXPECT_EQ(LastAnnotation(fixture, &contents), "3D 3D/PRC");
      EXPECT_TRUE(contents == prc);
    }

    ASSERT_EQ(fixture.host().handOver().records().size(), 1u);
    const acrohost::HandOverRecord& record = fixture.host().handOver().records()[0];
    EXPECT_EQ(record.containerName, "Model");
    EXPECT_EQ(record.bytes, prc.size());
    EXPECT_TRUE(record.added);
    EXPECT_EQ(fixture.OutstandingPathNames(), 0u);
    EXPECT_EQ(fixture.OutstandingContainers(), 0u);
    EXPECT_TRUE(fixture.Notes().empty());
  }
}

TEST(HandOver, PathsAreWindowsPaths) {
  ScopedTempDir dir;
  std::filesystem::create_directory(dir.File("sub"));
  ASSERT_TRUE(testing_support::WriteFile(dir.File("sub/model.prc"), "PRC"));
  HostFixture fixture;
  fixture.OpenMemoryDocument();
  EXPECT_EQ(HandOver(dir.path() + "\\sub\\model.prc"), 1);
  std::string contents;
  EXPECT_EQ(LastAnnotation(fixture, &contents), "3D 3D/PRC");
  EXPECT_EQ(contents, "PRC");
}

TEST(HandOver, AFileThatCannotBeReadAddsNothing) {
  ScopedTempDir dir;
  HostFixture fixture;
  fixture.OpenMemoryDocument().AppendPage(nullptr);
  EXPECT_EQ(HandOver(dir.File("missing.prc")), 0);
  EXPECT_EQ(AnnotationCount(), 0);
  ASSERT_EQ(fixture.Notes().size(), 1u);
  EXPECT_NE(fixture.Notes()[0].find("cannot open " + dir.File("missing.prc")), std::string::npos);
  EXPECT_EQ(fixture.OutstandingPathNames(), 0u);
  EXPECT_EQ(fixture.OutstandingContainers(), 0u);
}

TEST(HandOver, PathNamesAndContainersAreCountedUntilReleased) {
  HostFixture fixture;
  HostAtom cstring = HostAtomFromString("Cstring");
  HostFileSys fileSys = HostFileSysForPath(cstring, "C:\\a.prc");
  ASSERT_NE(fileSys, nullptr);
  EXPECT_EQ(HostFileSysForPath(HostAtomFromString("DIPath"), "C:\\a.prc"), nullptr);
  EXPECT_EQ(HostFileSysForPath(cstring, nullptr), nullptr);

  HostPathName a = HostFileSysCreatePath(fileSys, cstring, "C:\\a.prc", nullptr);
  HostPathName b = HostFileSysCreatePath(fileSys, cstring, "C:\\a.prc", nullptr);
  EXPECT_NE(a, b);
  EXPECT_EQ(HostFileSysCreatePath(fileSys, HostAtomFromString("DIPath"), "C:\\a.prc", nullptr), nullptr);
  EXPECT_EQ(HostFileSysCreatePath(nullptr, cstring, "C:\\a.prc", nullptr), nullptr);
  EXPECT_EQ(HostFileSysCreatePath(fileSys, cstring, "a.prc", a), nullptr);  // no relative path names
  HostContainer container = HostContainerNew();
  EXPECT_EQ(HostContainerSetName(container, "Model"), 1);
  EXPECT_EQ(HostContainerSetName(reinterpret_cast<HostContainer>(uintptr_t{9}), "Model"), 0);
  EXPECT_EQ(fixture.OutstandingPathNames(), 2u);
  EXPECT_EQ(fixture.OutstandingContainers(), 1u);
  size_t notes = fixture.Notes().size();

  HostFileSysReleasePath(fileSys, a);
  HostFileSysReleasePath(fileSys, a);  // twice: refused
  HostContainerDestroy(container);
  HostContainerDestroy(container);
  EXPECT_EQ(fixture.OutstandingPathNames(), 1u);
  EXPECT_EQ(fixture.OutstandingContainers(), 0u);
  EXPECT_EQ(fixture.Notes().size(), notes + 2);
  HostFileSysReleasePath(fileSys, b);
  EXPECT_EQ(fixture.OutstandingPathNames(), 0u);
}

TEST(HandOver, TheAllocatorCountsOutstandingBlocks) {
  HostFixture fixture;
  void* zero = HostMemAlloc(0);
  void* other = HostMemAlloc(0);
  double* block = static_cast<double*>(HostMemAlloc(72 * 3));
  ASSERT_NE(zero, nullptr);
  ASSERT_NE(block, nullptr);
  EXPECT_NE(zero, other);
  for (int i = 0; i < 27; ++i) block[i] = i;  // the whole block is usable
  EXPECT_EQ(fixture.OutstandingBlocks(), 3u);
  HostMemFree(block);
  HostMemFree(zero);
  HostMemFree(nullptr);  // nothing
  EXPECT_EQ(fixture.OutstandingBlocks(), 1u);
  EXPECT_TRUE(fixture.Notes().empty());
  int local = 0;
  HostMemFree(&local);  // not the host's: refused, not freed
  HostMemFree(zero);    // freed already
  EXPECT_EQ(fixture.Notes().size(), 2u);
  EXPECT_EQ(fixture.OutstandingBlocks(), 1u);
}

}  // namespace
