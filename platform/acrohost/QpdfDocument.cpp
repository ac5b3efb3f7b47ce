// PDF files through qpdf. Every entry point catches what qpdf throws, and every QPDF object keeps
// its warnings to itself.
#include "acrohost/QpdfDocument.h"

#include <qpdf/Pipeline.hh>
#include <qpdf/Pl_Flate.hh>
#include <qpdf/Pl_String.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFExc.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <qpdf/QPDFWriter.hh>

#include <stdio.h>

#include <exception>
#include <filesystem>
#include <fstream>
#include <map>

namespace acrohost {

namespace {

namespace fs = std::filesystem;

// Feeds decoded contents into a spool.
class SpoolPipeline : public Pipeline {
 public:
  explicit SpoolPipeline(Spool& spool) : Pipeline("acrohost spool", nullptr), m_spool(spool) {}
  void write(unsigned char const* data, size_t length) override {
    if (!m_spool.Write(data, length)) m_failed = true;
  }
  void finish() override {}
  bool failed() const { return m_failed; }

 private:
  Spool& m_spool;
  bool m_failed = false;
};

bool HasFilter(QPDFObjectHandle dictionary) {
  QPDFObjectHandle filter = dictionary.getKey("/Filter");
  return filter.isName() || (filter.isArray() && filter.getArrayNItems() > 0);
}

CosType TypeOf(QPDFObjectHandle object) {
  switch (object.getTypeCode()) {
    case ::ot_boolean: return kCosBoolean;
    case ::ot_integer: return kCosInteger;
    case ::ot_real: return kCosReal;
    case ::ot_string: return kCosString;
    case ::ot_name: return kCosName;
    case ::ot_array: return kCosArray;
    case ::ot_dictionary: return kCosDictionary;
    case ::ot_stream: return kCosStream;
    default: return kCosNull;
  }
}

// Makes a new PDF file appear at path only once it is complete: written beside it, then renamed.
bool WriteAtomically(QPDF& pdf, const std::string& path, std::string* error) {
  fs::path target(path);
  fs::path partial = target;
  partial += ".partial";
  // QPDFWriter keeps the file name it is given, so the string must outlive the writer.
  const std::string partialName = partial.string();
  try {
    QPDFWriter writer(pdf, partialName.c_str());
    // Streams are written as the document holds them, decoded or not.
    writer.setDecodeLevel(qpdf_dl_none);
    writer.setCompressStreams(false);
    // The same document saves to the same bytes, so files made by the project's tools reproduce.
    writer.setDeterministicID(true);
    writer.write();
  } catch (const std::exception& failure) {
    std::error_code ignored;
    fs::remove(partial, ignored);
    *error = "cannot write " + path + ": " + failure.what();
    return false;
  }
  std::error_code renamed;
  fs::rename(partial, target, renamed);
  if (renamed) {
    std::error_code ignored;
    fs::remove(partial, ignored);
    *error = "cannot write " + path + ": " + renamed.message();
    return false;
  }
  return true;
}

// Cos values of memory into objects of one QPDF; indirect objects are made once each.
class Converter {
 public:
  Converter(QPDF& pdf, const MemoryDocument* document) : m_pdf(pdf), m_document(document) {}

  QPDFObjectHandle Convert(const CosValue& value) {
    switch (value.kind()) {
      case CosValue::kNull: return QPDFObjectHandle::newNull();
      case CosValue::kBoolean: return QPDFObjectHandle::newBool(value.boolean());
      case CosValue::kInteger: return QPDFObjectHandle::newInteger(value.integer());
      case CosValue::kReal: return QPDFObjectHandle::newReal(value.real(), 6);
      case CosValue::kName: return QPDFObjectHandle::newName("/" + value.text());
      case CosValue::kString: return QPDFObjectHandle::newString(value.text());
      case CosValue::kArray: {
        QPDFObjectHandle array = QPDFObjectHandle::newArray();
        for (size_t i = 0; i < value.size(); ++i) array.appendItem(Convert(value.at(i)));
        return array;
      }
      case CosValue::kDictionary: {
        QPDFObjectHandle dictionary = QPDFObjectHandle::newDictionary();
        for (const auto& entry : value.entries()) dictionary.replaceKey("/" + entry.first, Convert(entry.second));
        return dictionary;
      }
      case CosValue::kStream: {
        QPDFObjectHandle stream = m_pdf.newStream();
        FillStream(stream, value);
        return stream;
      }
      case CosValue::kReference: return Reference(value.referenceNumber());
    }
    return QPDFObjectHandle::newNull();
  }

 private:
  void FillStream(QPDFObjectHandle stream, const CosValue& value) {
    QPDFObjectHandle dictionary = stream.getDict();
    for (const auto& entry : value.entries()) {
      if (entry.first != "Length" && entry.first != "Filter" && entry.first != "DecodeParms")
        dictionary.replaceKey("/" + entry.first, Convert(entry.second));
    }
    // The data is as stored: encoded by the filters given with it.
    stream.replaceStreamData(value.text(), Convert(value.Get("Filter")), Convert(value.Get("DecodeParms")));
  }

  QPDFObjectHandle Reference(int number) {
    auto made = m_made.find(number);
    if (made != m_made.end()) return made->second;
    CosValue object = m_document ? m_document->Object(number) : CosValue();
    if (object.kind() == CosValue::kStream) {
      QPDFObjectHandle stream = m_pdf.newStream();
      m_made[number] = stream;
      FillStream(stream, object);
      return stream;
    }
    // A placeholder first, so that objects that refer to each other meet.
    QPDFObjectHandle placeholder = m_pdf.makeIndirectObject(QPDFObjectHandle::newNull());
    m_made[number] = placeholder;
    m_pdf.replaceObject(placeholder.getObjGen(), Convert(object.isReference() ? m_document->Resolve(object) : object));
    return placeholder;
  }

  QPDF& m_pdf;
  const MemoryDocument* m_document;
  std::map<int, QPDFObjectHandle> m_made;
};

QPDFObjectHandle LetterMediaBox() { return QPDFObjectHandle::newArray(QPDFObjectHandle::Rectangle(0, 0, 612, 792)); }

class QpdfDocument : public Document {
 public:
  QpdfDocument(const std::string& path, std::shared_ptr<QPDF> pdf) : m_path(path), m_pdf(std::move(pdf)) {}

  std::string Describe() const override { return m_path; }

  int PageCount() override {
    try {
      return static_cast<int>(m_pdf->getAllPages().size());
    } catch (const std::exception&) {
      return 0;
    }
  }

  CosId Page(int index) override {
    try {
      const std::vector<QPDFObjectHandle>& pages = m_pdf->getAllPages();
      if (index < 0 || index >= static_cast<int>(pages.size())) return 0;
      return IdOf(pages[index]);
    } catch (const std::exception&) {
      return 0;
    }
  }

  CosType Type(CosId object) override {
    try {
      return object ? TypeOf(m_ids[object - 1]) : kCosNull;
    } catch (const std::exception&) {
      return kCosNull;
    }
  }

  bool NameOf(CosId object, std::string* name) override {
    try {
      if (!object || !m_ids[object - 1].isName()) return false;
      std::string text = m_ids[object - 1].getName();
      *name = text.empty() ? text : text.substr(1);
      return true;
    } catch (const std::exception&) {
      return false;
    }
  }

  CosId Get(CosId dictionary, const std::string& key) override {
    try {
      if (!dictionary) return 0;
      QPDFObjectHandle object = m_ids[dictionary - 1];
      if (object.isStream()) object = object.getDict();
      if (!object.isDictionary()) return 0;
      return IdOf(object.getKey("/" + key));
    } catch (const std::exception&) {
      return 0;
    }
  }

  int Count(CosId array) override {
    try {
      return array && m_ids[array - 1].isArray() ? m_ids[array - 1].getArrayNItems() : 0;
    } catch (const std::exception&) {
      return 0;
    }
  }

  CosId At(CosId array, int index) override {
    try {
      if (!array || !m_ids[array - 1].isArray()) return 0;
      QPDFObjectHandle items = m_ids[array - 1];
      if (index < 0 || index >= items.getArrayNItems()) return 0;
      return IdOf(items.getArrayItem(index));
    } catch (const std::exception&) {
      return 0;
    }
  }

  std::string Label(CosId object) override {
    if (!object || !m_ids[object - 1].isIndirect()) return "a direct object";
    QPDFObjGen id = m_ids[object - 1].getObjGen();
    return std::to_string(id.getObj()) + " " + std::to_string(id.getGen()) + " R";
  }

  std::unique_ptr<ByteReader> OpenDecoded(CosId stream, size_t memoryLimit, std::string* error) override {
    try {
      if (!stream || !m_ids[stream - 1].isStream()) {
        *error = "not a stream";
        return nullptr;
      }
      QPDFObjectHandle object = m_ids[stream - 1];
      std::unique_ptr<Spool> spool(new Spool(memoryLimit));
      SpoolPipeline pipeline(*spool);
      bool filtered = false;
      bool succeeded = object.pipeStreamData(&pipeline, &filtered, 0, qpdf_dl_all, true, false);
      if (pipeline.failed()) {
        *error = "no room for its decoded contents";
        return nullptr;
      }
      // Filters that qpdf does not know are not applied: the data would come out still encoded.
      if (!succeeded || (HasFilter(object.getDict()) && !filtered)) {
        *error = "its filter " + object.getDict().getKey("/Filter").unparse() + " cannot be decoded";
        return nullptr;
      }
      if (!spool->FinishWriting()) {
        *error = "its decoded contents cannot be read back";
        return nullptr;
      }
      return spool;
    } catch (const std::exception& failure) {
      *error = std::string("it cannot be decoded: ") + failure.what();
      return nullptr;
    }
  }

  int AppendPage(std::string* error) override {
    try {
      QPDFObjectHandle page = QPDFObjectHandle::newDictionary();
      page.replaceKey("/Type", QPDFObjectHandle::newName("/Page"));
      page.replaceKey("/MediaBox", LetterMediaBox());
      page.replaceKey("/Resources", QPDFObjectHandle::newDictionary());
      m_pdf->addPage(m_pdf->makeIndirectObject(page), false);
      return static_cast<int>(m_pdf->getAllPages().size()) - 1;
    } catch (const std::exception& failure) {
      *error = std::string("cannot add a page: ") + failure.what();
      return -1;
    }
  }

  bool AddAnnotation(int pageIndex, const CosValue& annotation, std::string* error) override {
    try {
      const std::vector<QPDFObjectHandle>& pages = m_pdf->getAllPages();
      if (pageIndex < 0 || pageIndex >= static_cast<int>(pages.size())) {
        *error = "the document has no page " + std::to_string(pageIndex + 1);
        return false;
      }
      QPDFObjectHandle page = pages[pageIndex];
      Converter converter(*m_pdf, nullptr);
      QPDFObjectHandle annot = m_pdf->makeIndirectObject(converter.Convert(annotation));
      QPDFObjectHandle annots = page.getKey("/Annots");
      if (annots.isArray())
        annots.appendItem(annot);
      else
        page.replaceKey("/Annots", QPDFObjectHandle::newArray(std::vector<QPDFObjectHandle>{annot}));
      return true;
    } catch (const std::exception& failure) {
      *error = std::string("cannot add the annotation: ") + failure.what();
      return false;
    }
  }

  bool Save(const std::string& path, std::string* error) override { return WriteAtomically(*m_pdf, path, error); }

 private:
  CosId IdOf(QPDFObjectHandle object) {
    if (object.isNull()) return 0;
    if (object.isIndirect()) {
      auto found = m_indirect.find(object.getObjGen());
      if (found != m_indirect.end()) return found->second;
    }
    m_ids.push_back(object);
    CosId id = static_cast<CosId>(m_ids.size());
    if (object.isIndirect()) m_indirect[object.getObjGen()] = id;
    return id;
  }

  std::string m_path;
  std::shared_ptr<QPDF> m_pdf;
  std::vector<QPDFObjectHandle> m_ids;  // the object of id i is m_ids[i - 1]
  std::map<QPDFObjGen, CosId> m_indirect;
};

bool StartsLikePdf(const std::string& path) {
  // A PDF file announces itself in its first kilobyte.
  std::ifstream in(path, std::ios::binary);
  char head[1024];
  in.read(head, sizeof head);
  std::string text(head, static_cast<size_t>(in.gcount()));
  return text.find("%PDF-") != std::string::npos;
}

}  // namespace

std::unique_ptr<Document> OpenPdfDocument(const std::string& path, std::string* error) {
  std::error_code status;
  if (!fs::is_regular_file(path, status)) {
    *error = fs::exists(path, status) ? "not a file" : "no such file";
    return nullptr;
  }
  if (!StartsLikePdf(path)) {
    *error = "not a PDF file";
    return nullptr;
  }
  try {
    std::shared_ptr<QPDF> pdf = QPDF::create();
    pdf->setSuppressWarnings(true);
    pdf->processFile(path.c_str());
    // A page tree that cannot be walked makes the document unusable: find out now.
    pdf->getAllPages();
    return std::unique_ptr<Document>(new QpdfDocument(path, pdf));
  } catch (const QPDFExc& failure) {
    if (failure.getErrorCode() == qpdf_e_password)
      *error = "the PDF file is protected by a password";
    else
      *error = std::string("damaged PDF file (") + failure.what() + ")";
    return nullptr;
  } catch (const std::exception& failure) {
    *error = std::string("damaged PDF file (") + failure.what() + ")";
    return nullptr;
  }
}

bool WriteMemoryDocumentAsPdf(const MemoryDocument& document, const std::string& path, std::string* error) {
  try {
    QPDF pdf;
    pdf.setSuppressWarnings(true);
    pdf.emptyPDF();
    Converter converter(pdf, &document);
    for (const CosValue& entry : document.pages()) {
      QPDFObjectHandle page = converter.Convert(entry);
      if (!page.isIndirect()) page = pdf.makeIndirectObject(page);
      if (!page.isDictionary()) continue;
      if (!page.hasKey("/MediaBox")) page.replaceKey("/MediaBox", LetterMediaBox());
      pdf.addPage(page, false);
    }
    return WriteAtomically(pdf, path, error);
  } catch (const std::exception& failure) {
    *error = "cannot write " + path + ": " + failure.what();
    return false;
  }
}

std::string FlateCompress(const std::string& bytes) {
  std::string compressed;
  try {
    Pl_String sink("acrohost flate output", nullptr, compressed);
    Pl_Flate deflate("acrohost flate", &sink, Pl_Flate::a_deflate);
    deflate.write(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
    deflate.finish();
  } catch (const std::exception&) {
    compressed.clear();
  }
  return compressed;
}

}  // namespace acrohost
