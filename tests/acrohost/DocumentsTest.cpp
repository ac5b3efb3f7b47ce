// Documents as a plug-in sees them through the tables: pages, annotations (valid or not, their
// subtype, their dictionary), Cos values and their types; the same for PDF files and in-memory
// documents. And PDF files that cannot be opened.
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

enum Kind { kMemory, kPdf };

// Opens the pages as the active document of the fixture, as a document of the kind.
void OpenAs(Kind kind, HostFixture& fixture, const std::vector<Page>& pages, const ScopedTempDir& dir) {
  if (kind == kMemory) {
    fixture.OpenDocument(pdf_fixtures::BuildDocument(pages));
    return;
  }
  std::string error;
  ASSERT_TRUE(pdf_fixtures::WritePdf(dir.File("doc.pdf"), pages, &error)) << error;
  ASSERT_TRUE(fixture.OpenPdf(dir.File("doc.pdf"), &error)) << error;
}

std::string AtomText(HostFixture& fixture, HostAtom atom) {
  const std::string* text = fixture.host().atoms().Text(atom);
  return atom == 0 ? "(null)" : text ? *text : "(unknown)";
}

const char* TypeName(int32_t type) {
  static const char* const names[] = {"null",       "integer", "real",  "boolean", "name",
                                      "string",     "dictionary", "array", "stream"};
  return type >= 0 && type <= 8 ? names[type] : "?";
}

// Every page and annotation as the document scan meets them: "page: annotation annotation ...",
// where an annotation is "invalid" or SUBTYPE/TYPE-OF-3DD[/SUBTYPE-OF-THE-STREAM].
std::string Walk(HostFixture& fixture) {
  std::string out;
  HostDoc doc = HostDocViewGetDoc(HostAppGetActiveDocView());
  HostAtom key3DD = HostAtomFromString("3DD");
  HostAtom keySubtype = HostAtomFromString("Subtype");
  for (int32_t i = 0; i < HostDocGetNumPages(doc); ++i) {
    HostPage page = HostDocAcquirePage(doc, i);
    out += "page:";
    for (int32_t j = 0; j < HostPageGetNumAnnots(page); ++j) {
      HostAnnot annot = HostPageGetAnnot(page, j);
      if (!HostAnnotIsValid(annot)) {
        out += " invalid";
        continue;
      }
      HostCosObj data = HostCosDictGet(HostAnnotGetCosObj(annot), key3DD);
      out += " " + AtomText(fixture, HostAnnotGetSubtype(annot)) + "/" + TypeName(HostCosObjGetType(data));
      if (HostCosObjGetType(data) == 8)
        out += "/" + AtomText(fixture, HostCosNameValue(HostCosDictGet(data, keySubtype)));
    }
    out += "\n";
  }
  return out;
}

class DocumentsTest : public ::testing::TestWithParam<Kind> {
 protected:
  void SetUp() override {
    if (GetParam() == kPdf) {
      PDF_FIXTURES_SKIP_WITHOUT_PDF_FILES();
    }
  }
};

TEST_P(DocumentsTest, PagesAndAnnotationsReadAsBuilt) {
  pdf_fixtures::ThreeDData u3d;
  u3d.subtype = "U3D";
  pdf_fixtures::ThreeDData noSubtype;
  noSubtype.subtypeForm = pdf_fixtures::ThreeDData::kSubtypeMissing;
  pdf_fixtures::ThreeDData stringSubtype;
  stringSubtype.subtypeForm = pdf_fixtures::ThreeDData::kSubtypeString;
  pdf_fixtures::ThreeDData reference;
  reference.kind = pdf_fixtures::ThreeDData::kReferenceDictionary;
  pdf_fixtures::ThreeDData absent;
  absent.kind = pdf_fixtures::ThreeDData::kAbsent;
  pdf_fixtures::Annotation unnamed = pdf_fixtures::Other("");

  Page direct{Page::kDirect, {pdf_fixtures::Prc("x"), pdf_fixtures::Other("Text"), pdf_fixtures::NotADictionary()}};
  Page indirect{Page::kIndirect, {pdf_fixtures::Other("Link"), pdf_fixtures::Prc("y", true)}};
  Page missing{Page::kMissing, {}};
  Page empty{Page::kDirect, {}};
  Page odd{Page::kDirect,
           {pdf_fixtures::ThreeD(u3d), pdf_fixtures::ThreeD(noSubtype), pdf_fixtures::ThreeD(stringSubtype),
            pdf_fixtures::ThreeD(reference), pdf_fixtures::ThreeD(absent), unnamed}};

  struct Case {
    const char* what;
    std::vector<Page> pages;
    const char* expected;
  };
  const Case cases[] = {
      {"no pages", {}, ""},
      {"/Annots missing, then empty", {missing, empty}, "page:\npage:\n"},
      {"direct /Annots with an entry that is no dictionary", {direct},
       "page: 3D/stream/PRC Text/null invalid\n"},
      {"indirect /Annots", {indirect}, "page: Link/null 3D/stream/PRC\n"},
      {"pages in order", {indirect, missing, direct},
       "page: Link/null 3D/stream/PRC\npage:\npage: 3D/stream/PRC Text/null invalid\n"},
      {"3DD streams of other subtypes, a reference dictionary, none, an annotation without subtype",
       {odd},
       "page: 3D/stream/U3D 3D/stream/(null) 3D/stream/(null) 3D/dictionary 3D/null (null)/null\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ScopedTempDir dir;
    HostFixture fixture;
    OpenAs(GetParam(), fixture, c.pages, dir);
    EXPECT_EQ(Walk(fixture), c.expected);
  }
}

TEST_P(DocumentsTest, ValuesOutsideTheDocumentAreNullAndNeverFollowed) {
  ScopedTempDir dir;
  HostFixture fixture;
  OpenAs(GetParam(), fixture, {Page{Page::kDirect, {pdf_fixtures::Prc("x")}}}, dir);
  HostDoc doc = HostDocViewGetDoc(HostAppGetActiveDocView());
  ASSERT_NE(doc, nullptr);
  EXPECT_EQ(HostDocAcquirePage(doc, 0), HostDocAcquirePage(doc, 0));  // one handle per page
  EXPECT_EQ(HostDocAcquirePage(doc, 1), nullptr);
  EXPECT_EQ(HostDocAcquirePage(doc, -1), nullptr);
  HostPage page = HostDocAcquirePage(doc, 0);
  for (int32_t index : {1, -1, 1000}) {
    HostAnnot annot = HostPageGetAnnot(page, index);
    EXPECT_FALSE(HostAnnotIsValid(annot));
    EXPECT_EQ(HostAnnotGetSubtype(annot), 0);
  }
  // Stale, forged and null handles read as nothing.
  HostDoc forged = reinterpret_cast<HostDoc>(uintptr_t{0xDEAD});
  EXPECT_EQ(HostDocGetNumPages(forged), 0);
  EXPECT_EQ(HostDocGetNumPages(nullptr), 0);
  EXPECT_EQ(HostDocAcquirePage(forged, 0), nullptr);
  EXPECT_EQ(HostPageGetNumAnnots(reinterpret_cast<HostPage>(uintptr_t{0xBEEF})), 0);
  EXPECT_EQ(HostDocViewGetDoc(reinterpret_cast<HostDocumentView>(uintptr_t{0xBEEF})), nullptr);
  HostCosObj bogus{77, 1}, null{0, 0};
  EXPECT_EQ(HostCosObjGetType(bogus), 0);
  EXPECT_EQ(HostCosObjGetType(null), 0);
  EXPECT_EQ(HostCosNameValue(null), 0);
  HostCosObj got = HostCosDictGet(bogus, HostAtomFromString("Type"));
  EXPECT_EQ(got.a, 0u);
  EXPECT_EQ(got.b, 0u);
  EXPECT_FALSE(HostAnnotIsValid(HostAnnot{0, 0}));
  // A key with no atom's text and a name asked of a dictionary.
  HostCosObj annot = HostAnnotGetCosObj(HostPageGetAnnot(page, 0));
  EXPECT_EQ(HostCosObjGetType(HostCosDictGet(annot, 0)), 0);
  EXPECT_EQ(HostCosNameValue(annot), 0);
  EXPECT_EQ(HostCosObjGetType(annot), 6);
}

INSTANTIATE_TEST_SUITE_P(BothKinds, DocumentsTest, ::testing::Values(kMemory, kPdf),
                         [](const ::testing::TestParamInfo<Kind>& info) {
                           return std::string(info.param == kMemory ? "InMemory" : "PdfFile");
                         });

TEST(Documents, TheActiveViewIsTheDocumentOpenedLastUntilClosed) {
  HostFixture fixture;
  EXPECT_EQ(HostAppGetActiveDocView(), nullptr);
  EXPECT_EQ(HostDocViewGetDoc(nullptr), nullptr);
  fixture.OpenMemoryDocument();
  HostDocumentView first = HostAppGetActiveDocView();
  acrohost::MemoryDocument& second = fixture.OpenMemoryDocument();
  second.AppendPage(nullptr);
  HostDocumentView view = HostAppGetActiveDocView();
  EXPECT_NE(view, first);
  EXPECT_EQ(HostDocGetNumPages(HostDocViewGetDoc(view)), 1);
  EXPECT_EQ(HostDocGetNumPages(HostDocViewGetDoc(first)), 0);
  fixture.CloseDocument();
  EXPECT_EQ(HostAppGetActiveDocView(), nullptr);
}

TEST(Documents, FilesThatCannotBeOpenedSayWhyAndPrintNothing) {
  PDF_FIXTURES_SKIP_WITHOUT_PDF_FILES();
  ScopedTempDir dir;
  pdf_fixtures::WriteDamagedPdf(dir.File("damaged.pdf"));
  pdf_fixtures::WriteNotAPdf(dir.File("minutes.pdf"));
  ASSERT_TRUE(pdf_fixtures::WritePasswordProtectedPdf(dir.File("locked.pdf"), {Page()}, "secret"));
  std::filesystem::create_directory(dir.File("folder.pdf"));
  struct Case {
    std::string path;
    const char* reason;
  };
  const Case cases[] = {
      {dir.File("damaged.pdf"), "damaged PDF file"},
      {dir.File("locked.pdf"), ": the PDF file is protected by a password"},
      {dir.File("minutes.pdf"), ": not a PDF file"},
      {dir.File("missing.pdf"), ": no such file"},
      {dir.File("folder.pdf"), ": not a file"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    HostFixture fixture;
    std::string error;
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(fixture.OpenPdf(c.path, &error));
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    EXPECT_NE(error.find("cannot open " + c.path), std::string::npos) << error;
    EXPECT_NE(error.find(c.reason), std::string::npos) << error;
    EXPECT_EQ(HostAppGetActiveDocView(), nullptr);
  }
}

TEST(Documents, ARepairableFileOpensWithoutQpdfsWarnings) {
  PDF_FIXTURES_SKIP_WITHOUT_PDF_FILES();
  ScopedTempDir dir;
  ASSERT_TRUE(pdf_fixtures::WritePdf(dir.File("doc.pdf"), {Page{Page::kDirect, {pdf_fixtures::Prc("abc")}}}));
  // A wrong cross-reference offset: qpdf rebuilds the table, and warns while it does.
  std::string bytes = testing_support::ReadFile(dir.File("doc.pdf"));
  size_t at = bytes.rfind("startxref\n");
  ASSERT_NE(at, std::string::npos);
  bytes = bytes.substr(0, at) + "startxref\n12\n%%EOF\n";
  testing_support::WriteFile(dir.File("broken.pdf"), bytes);

  HostFixture fixture;
  std::string error;
  ::testing::internal::CaptureStderr();
  ASSERT_TRUE(fixture.OpenPdf(dir.File("broken.pdf"), &error)) << error;
  EXPECT_EQ(Walk(fixture), "page: 3D/stream/PRC\n");
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
}

}  // namespace
