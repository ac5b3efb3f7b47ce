// Readers of streams' decoded contents (Cos 32, AcroSupport 43 and 45): how much each read hands
// out, the bytes themselves, large streams that go through the spool file, and streams that
// cannot be decoded.
#include <gtest/gtest.h>

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

// The first annotation's "3DD" stream of the active document.
HostCosObj FirstStream() {
  HostDoc doc = HostDocViewGetDoc(HostAppGetActiveDocView());
  HostAnnot annot = HostPageGetAnnot(HostDocAcquirePage(doc, 0), 0);
  return HostCosDictGet(HostAnnotGetCosObj(annot), HostAtomFromString("3DD"));
}

struct Reads {
  std::vector<int32_t> counts;
  std::string bytes;
};

// Reads until a read hands out fewer items than asked, as the document scan does.
Reads ReadAll(HostStream stream, int32_t itemSize, int32_t count) {
  Reads reads;
  std::vector<char> buffer(static_cast<size_t>(itemSize) * count);
  for (;;) {
    int32_t got = HostStreamRead(buffer.data(), itemSize, count, stream);
    reads.counts.push_back(got);
    reads.bytes.append(buffer.data(), static_cast<size_t>(got) * itemSize);
    if (got != count) break;
  }
  return reads;
}

enum Kind { kMemory, kPdf, kPdfFlate };

class StreamReadTest : public ::testing::TestWithParam<Kind> {
 protected:
  void SetUp() override {
    if (GetParam() != kMemory) {
      PDF_FIXTURES_SKIP_WITHOUT_PDF_FILES();
    }
  }

  // Opens a document whose first annotation carries these bytes.
  void Open(const std::string& bytes) {
    std::vector<Page> pages{Page{Page::kDirect, {pdf_fixtures::Prc(bytes, GetParam() == kPdfFlate)}}};
    if (GetParam() == kMemory) {
      m_fixture.OpenDocument(pdf_fixtures::BuildDocument(pages));
      return;
    }
    std::string error;
    ASSERT_TRUE(pdf_fixtures::WritePdf(m_dir.File("doc.pdf"), pages, &error)) << error;
    ASSERT_TRUE(m_fixture.OpenPdf(m_dir.File("doc.pdf"), &error)) << error;
  }

  ScopedTempDir m_dir;
  HostFixture m_fixture;
};

TEST_P(StreamReadTest, ReadsHandOutFullCountsUntilTheEnd) {
  struct Case {
    size_t size;
    int32_t itemSize, count;
    std::vector<int32_t> counts;
  };
  const Case cases[] = {
      {0, 1, 1024, {0}},
      {1500, 1, 1024, {1024, 476}},
      {2048, 1, 1024, {1024, 1024, 0}},
      {1, 1, 1024, {1}},
      {1500, 4, 256, {256, 119}},  // whole items only: the last 476 bytes are 119 items
      {10, 3, 1, {1, 1, 1, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.size);
    std::string bytes = pdf_fixtures::PatternBytes(c.size);
    Open(bytes);
    HostStream stream = HostCosStreamOpen(FirstStream(), 2);
    ASSERT_NE(stream, nullptr);
    Reads reads = ReadAll(stream, c.itemSize, c.count);
    EXPECT_EQ(reads.counts, c.counts);
    EXPECT_EQ(reads.bytes, bytes.substr(0, reads.bytes.size()));
    EXPECT_EQ(HostStreamRead(std::vector<char>(1024).data(), 1, 1024, stream), 0);  // 0 after the end
    EXPECT_EQ(HostStreamClose(stream), 0);
    EXPECT_EQ(m_fixture.OutstandingReaders(), 0u);
  }
}

TEST_P(StreamReadTest, ReadersAreIndependentAndRefuseOddRequests) {
  std::string bytes = pdf_fixtures::PatternBytes(3000, 7);
  Open(bytes);
  HostStream first = HostCosStreamOpen(FirstStream(), 2);
  HostStream second = HostCosStreamOpen(FirstStream(), 2);
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_NE(second, first);
  char buffer[1024];
  EXPECT_EQ(HostStreamRead(buffer, 1, 1024, first), 1024);
  EXPECT_EQ(HostStreamRead(buffer, 1, 0, first), 0);
  EXPECT_EQ(HostStreamRead(buffer, 0, 1024, first), 0);
  EXPECT_EQ(HostStreamRead(buffer, 1, -5, first), 0);
  EXPECT_EQ(HostStreamRead(nullptr, 1, 1024, first), 0);
  EXPECT_EQ(ReadAll(second, 1, 1024).bytes, bytes);  // the other reader starts at the beginning
  EXPECT_EQ(ReadAll(first, 1, 1024).bytes, bytes.substr(1024));  // refused requests consumed nothing
  EXPECT_EQ(m_fixture.OutstandingReaders(), 2u);
  EXPECT_EQ(HostStreamClose(first), 0);
  EXPECT_EQ(HostStreamClose(first), -1);  // closed already
  EXPECT_EQ(HostStreamRead(buffer, 1, 1024, first), 0);
  EXPECT_EQ(HostStreamClose(second), 0);
  EXPECT_EQ(m_fixture.OutstandingReaders(), 0u);
  // Only mode 2 (decoded contents) is served, and only streams.
  EXPECT_EQ(HostCosStreamOpen(FirstStream(), 0), nullptr);
  HostAnnot annot = HostPageGetAnnot(HostDocAcquirePage(HostDocViewGetDoc(HostAppGetActiveDocView()), 0), 0);
  EXPECT_EQ(HostCosStreamOpen(HostAnnotGetCosObj(annot), 2), nullptr);
  EXPECT_EQ(HostCosStreamOpen(HostCosObj{0, 0}, 2), nullptr);
}

std::string KindName(const ::testing::TestParamInfo<Kind>& info) {
  return info.param == kMemory ? "InMemory" : info.param == kPdf ? "PdfFile" : "PdfFileFlate";
}

INSTANTIATE_TEST_SUITE_P(EveryStore, StreamReadTest, ::testing::Values(kMemory, kPdf, kPdfFlate), KindName);

TEST(StreamRead, ALargeFlateStreamIsSpooledAndReadBackWhole) {
  PDF_FIXTURES_SKIP_WITHOUT_PDF_FILES();
  // 6 MiB that compress well: the file stays small while the decoded contents outgrow memory.
  std::string piece = pdf_fixtures::PatternBytes(4096, 3);
  std::string bytes;
  for (int i = 0; i < 1536; ++i) bytes += piece;
  bytes += "tail";
  ScopedTempDir dir;
  ASSERT_TRUE(pdf_fixtures::WritePdf(dir.File("large.pdf"), {Page{Page::kDirect, {pdf_fixtures::Prc(bytes, true)}}}));
  ASSERT_LT(testing_support::ReadFile(dir.File("large.pdf")).size(), bytes.size() / 100);

  HostFixture fixture;
  ASSERT_TRUE(fixture.OpenPdf(dir.File("large.pdf")));
  fixture.host().trace().SetRecording(false);
  HostStream stream = HostCosStreamOpen(FirstStream(), 2);
  ASSERT_NE(stream, nullptr);
  Reads reads = ReadAll(stream, 1, 1024);
  EXPECT_EQ(reads.counts.size(), bytes.size() / 1024 + 1);
  EXPECT_EQ(reads.counts.back(), 4);
  EXPECT_TRUE(reads.bytes == bytes);
  EXPECT_EQ(HostStreamClose(stream), 0);
}

TEST(StreamRead, TheSpoolKeepsItsBytesAcrossTheStepToTheFile) {
  acrohost::Spool spool(10);
  ASSERT_TRUE(spool.Write("0123456", 7));
  EXPECT_FALSE(spool.inFile());
  ASSERT_TRUE(spool.Write("789abc", 6));
  EXPECT_TRUE(spool.inFile());
  ASSERT_TRUE(spool.FinishWriting());
  char buffer[16] = {};
  EXPECT_EQ(spool.Read(buffer, 5), 5u);
  EXPECT_EQ(spool.Read(buffer + 5, 16), 8u);
  EXPECT_EQ(std::string(buffer, 13), "0123456789abc");
  EXPECT_EQ(spool.Read(buffer, 16), 0u);
}

TEST(StreamRead, AStreamThatCannotBeDecodedGivesNoReaderAndAMessage) {
  pdf_fixtures::ThreeDData unknownFilter;
  unknownFilter.bytes = "raw bytes";
  unknownFilter.rawFilter = "JBIG2Decode";
  pdf_fixtures::ThreeDData brokenFlate;
  brokenFlate.bytes = "these bytes are no Flate data at all";
  brokenFlate.rawFilter = "FlateDecode";
  struct Case {
    const char* what;
    pdf_fixtures::ThreeDData data;
    bool pdf;
    const char* reason;
  };
  const Case cases[] = {
      {"a filter qpdf does not decode", unknownFilter, true, "/JBIG2Decode cannot be decoded"},
      {"Flate data that is broken", brokenFlate, true, "/FlateDecode cannot be decoded"},
      {"any filter of an in-memory document", unknownFilter, false, "an in-memory document decodes no filter"},
  };
  for (const Case& c : cases) {
    if (c.pdf && !pdf_fixtures::HavePdfFiles()) continue;
    SCOPED_TRACE(c.what);
    ScopedTempDir dir;
    HostFixture fixture;
    std::vector<Page> pages{Page{Page::kDirect, {pdf_fixtures::ThreeD(c.data)}}};
    if (c.pdf) {
      ASSERT_TRUE(pdf_fixtures::WritePdf(dir.File("doc.pdf"), pages));
      ASSERT_TRUE(fixture.OpenPdf(dir.File("doc.pdf")));
    } else {
      fixture.OpenDocument(pdf_fixtures::BuildDocument(pages));
    }
    ::testing::internal::CaptureStderr();
    HostStream stream = HostCosStreamOpen(FirstStream(), 2);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(stream, nullptr);
    ASSERT_EQ(fixture.Notes().size(), 1u);
    EXPECT_NE(fixture.Notes()[0].find("cannot read stream"), std::string::npos) << fixture.Notes()[0];
    EXPECT_NE(fixture.Notes()[0].find(c.reason), std::string::npos) << fixture.Notes()[0];
    // A plug-in that does not test the reader reads nothing and closes nothing, safely.
    char buffer[1024];
    EXPECT_EQ(HostStreamRead(buffer, 1, 1024, stream), 0);
    EXPECT_EQ(HostStreamClose(stream), -1);
    EXPECT_EQ(fixture.OutstandingReaders(), 0u);
  }
}

}  // namespace
