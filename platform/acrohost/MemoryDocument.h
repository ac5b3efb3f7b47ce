// Documents built in memory, for tests and for documents that the host makes itself: numbered
// indirect objects and a list of pages, each a page dictionary (or a reference to one).
//
// Stream data is kept as given: a stream whose dictionary names a /Filter is held encoded, and
// this kind of document decodes no filter, so such a stream cannot be opened for reading (its
// bytes are written unchanged when the document is saved as a PDF file).
#ifndef VANTRELL_ACROHOST_MEMORYDOCUMENT_H
#define VANTRELL_ACROHOST_MEMORYDOCUMENT_H

#include <map>
#include <unordered_map>
#include <vector>

#include "acrohost/Document.h"

namespace acrohost {

class MemoryDocument : public Document {
 public:
  MemoryDocument() = default;

  // Makes the value an indirect object; its number (from 1). Refer to it with CosValue::Reference.
  int AddObject(const CosValue& value);
  // The object of a number, null when there is none.
  CosValue Object(int number) const;
  // The value a reference leads to (through chains of references); any other value itself.
  CosValue Resolve(const CosValue& value) const;
  // Appends a page: a page dictionary, or a reference to one. Its index, or -1 when it is neither.
  int AddPage(const CosValue& page);
  // The page dictionary at an index, null outside the document.
  CosValue PageDictionary(int index) const;

  const std::map<int, CosValue>& objects() const { return m_objects; }
  const std::vector<CosValue>& pages() const { return m_pages; }

  // Document
  std::string Describe() const override { return "in-memory document"; }
  int PageCount() override { return static_cast<int>(m_pages.size()); }
  CosId Page(int index) override;
  CosType Type(CosId object) override;
  bool NameOf(CosId object, std::string* name) override;
  CosId Get(CosId dictionary, const std::string& key) override;
  int Count(CosId array) override;
  CosId At(CosId array, int index) override;
  std::string Label(CosId object) override;
  std::unique_ptr<ByteReader> OpenDecoded(CosId stream, size_t memoryLimit, std::string* error) override;
  int AppendPage(std::string* error) override;
  bool AddAnnotation(int pageIndex, const CosValue& annotation, std::string* error) override;
  bool Save(const std::string& path, std::string* error) override;

 private:
  // The id of a resolved value: the same value always gets the same id; null gets 0.
  CosId IdOf(const CosValue& value);
  CosValue ValueOf(CosId object) const;

  std::map<int, CosValue> m_objects;
  int m_lastNumber = 0;
  std::vector<CosValue> m_pages;
  std::vector<CosValue> m_ids;  // the value of id i is m_ids[i - 1]
  std::unordered_map<const void*, CosId> m_idOfValue;
};

}  // namespace acrohost

#endif
