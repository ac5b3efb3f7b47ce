#include "acrohost/MemoryDocument.h"

#include <string.h>

#if ACROHOST_HAVE_QPDF
#include "acrohost/QpdfDocument.h"
#endif

namespace acrohost {

namespace {

// Reads a stream's data in place; the value keeps the data alive.
class ValueReader : public ByteReader {
 public:
  explicit ValueReader(const CosValue& stream) : m_stream(stream) {}
  size_t Read(char* buffer, size_t size) override {
    const std::string& data = m_stream.text();
    size_t available = m_offset < data.size() ? data.size() - m_offset : 0;
    size_t count = size < available ? size : available;
    if (count) memcpy(buffer, data.data() + m_offset, count);
    m_offset += count;
    return count;
  }

 private:
  CosValue m_stream;
  size_t m_offset = 0;
};

bool HasFilter(const CosValue& filter) {
  return filter.kind() == CosValue::kName || (filter.kind() == CosValue::kArray && filter.size() > 0);
}

}  // namespace

int MemoryDocument::AddObject(const CosValue& value) {
  m_objects[++m_lastNumber] = value;
  return m_lastNumber;
}

CosValue MemoryDocument::Object(int number) const {
  auto found = m_objects.find(number);
  return found == m_objects.end() ? CosValue() : found->second;
}

CosValue MemoryDocument::Resolve(const CosValue& value) const {
  CosValue current = value;
  // A chain longer than the number of objects has a cycle; it resolves to null.
  for (size_t steps = 0; current.isReference(); ++steps) {
    if (steps > m_objects.size()) return CosValue();
    current = Object(current.referenceNumber());
  }
  return current;
}

int MemoryDocument::AddPage(const CosValue& page) {
  if (Resolve(page).kind() != CosValue::kDictionary) return -1;
  m_pages.push_back(page);
  return static_cast<int>(m_pages.size()) - 1;
}

CosValue MemoryDocument::PageDictionary(int index) const {
  if (index < 0 || index >= static_cast<int>(m_pages.size())) return CosValue();
  return Resolve(m_pages[index]);
}

CosId MemoryDocument::IdOf(const CosValue& value) {
  if (value.kind() == CosValue::kNull) return 0;
  auto found = m_idOfValue.find(value.identity());
  if (found != m_idOfValue.end()) return found->second;
  m_ids.push_back(value);
  CosId id = static_cast<CosId>(m_ids.size());
  m_idOfValue.emplace(value.identity(), id);
  return id;
}

CosValue MemoryDocument::ValueOf(CosId object) const {
  if (object == 0 || object > m_ids.size()) return CosValue();
  return m_ids[object - 1];
}

CosId MemoryDocument::Page(int index) { return IdOf(PageDictionary(index)); }

CosType MemoryDocument::Type(CosId object) { return ValueOf(object).type(); }

bool MemoryDocument::NameOf(CosId object, std::string* name) {
  CosValue value = ValueOf(object);
  if (value.kind() != CosValue::kName) return false;
  *name = value.text();
  return true;
}

CosId MemoryDocument::Get(CosId dictionary, const std::string& key) {
  return IdOf(Resolve(ValueOf(dictionary).Get(key)));
}

int MemoryDocument::Count(CosId array) { return static_cast<int>(ValueOf(array).size()); }

CosId MemoryDocument::At(CosId array, int index) {
  if (index < 0) return 0;
  return IdOf(Resolve(ValueOf(array).at(static_cast<size_t>(index))));
}

std::string MemoryDocument::Label(CosId object) {
  CosValue value = ValueOf(object);
  for (const auto& entry : m_objects)
    if (entry.second.SameAs(value)) return std::to_string(entry.first) + " 0 R";
  return "a direct object";
}

std::unique_ptr<ByteReader> MemoryDocument::OpenDecoded(CosId stream, size_t, std::string* error) {
  CosValue value = ValueOf(stream);
  if (value.kind() != CosValue::kStream) {
    *error = "not a stream";
    return nullptr;
  }
  if (HasFilter(Resolve(value.Get("Filter")))) {
    *error = "an in-memory document decodes no filter";
    return nullptr;
  }
  return std::unique_ptr<ByteReader>(new ValueReader(value));
}

int MemoryDocument::AppendPage(std::string*) {
  CosValue page = CosValue::Dictionary({
      {"Type", CosValue::Name("Page")},
      {"MediaBox", CosValue::Array({CosValue::Integer(0), CosValue::Integer(0), CosValue::Integer(612),
                                    CosValue::Integer(792)})},
  });
  return AddPage(CosValue::Reference(AddObject(page)));
}

bool MemoryDocument::AddAnnotation(int pageIndex, const CosValue& annotation, std::string* error) {
  CosValue page = PageDictionary(pageIndex);
  if (page.kind() != CosValue::kDictionary) {
    *error = "the document has no page " + std::to_string(pageIndex + 1);
    return false;
  }
  CosValue reference = CosValue::Reference(AddObject(annotation));
  CosValue annots = Resolve(page.Get("Annots"));
  if (annots.kind() == CosValue::kArray)
    annots.Append(reference);
  else
    page.Set("Annots", CosValue::Array({reference}));
  return true;
}

bool MemoryDocument::Save(const std::string& path, std::string* error) {
#if ACROHOST_HAVE_QPDF
  return WriteMemoryDocumentAsPdf(*this, path, error);
#else
  (void)path;
  *error = "this build writes no PDF files";
  return false;
#endif
}

}  // namespace acrohost
