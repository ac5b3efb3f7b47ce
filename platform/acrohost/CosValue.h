// Cos values of documents built in memory: null, boolean, integer, real, name, string, array,
// dictionary, stream (dictionary and data) and indirect reference.
//
// A CosValue is a handle to a shared value: copies refer to the same value, and a change made
// through one is seen through all, as in a document where many places refer to one object. An
// indirect reference names an object number; the document that holds the value resolves it.
#ifndef VANTRELL_ACROHOST_COSVALUE_H
#define VANTRELL_ACROHOST_COSVALUE_H

#include <stdint.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace acrohost {

// The host's Cos type codes (Cos 2).
enum CosType : int32_t {
  kCosNull = 0,
  kCosInteger = 1,
  kCosReal = 2,
  kCosBoolean = 3,
  kCosName = 4,
  kCosString = 5,
  kCosDictionary = 6,
  kCosArray = 7,
  kCosStream = 8,
};

class CosValue {
 public:
  enum Kind { kNull, kBoolean, kInteger, kReal, kName, kString, kArray, kDictionary, kStream, kReference };
  using Entries = std::vector<std::pair<std::string, CosValue>>;

  CosValue();  // null

  static CosValue Null() { return CosValue(); }
  static CosValue Boolean(bool value);
  static CosValue Integer(int64_t value);
  static CosValue Real(double value);
  static CosValue Name(const std::string& name);  // without the leading slash: Name("PRC")
  static CosValue String(const std::string& bytes);
  static CosValue Array(std::vector<CosValue> items = {});
  static CosValue Dictionary(Entries entries = {});
  // A stream: its dictionary's entries and its data as stored, encoded by the dictionary's /Filter
  // when it has one. /Length is the document's business and need not be given.
  static CosValue Stream(Entries dictionary, std::string data);
  static CosValue Reference(int objectNumber);

  Kind kind() const;
  // The Cos type code of the value itself; an indirect reference has none of its own (kCosNull),
  // so ask the document, which resolves it.
  CosType type() const;
  bool isReference() const { return kind() == kReference; }

  bool boolean() const;          // false unless a boolean
  int64_t integer() const;       // 0 unless an integer
  double real() const;           // a real, or an integer as a real; else 0
  int referenceNumber() const;   // 0 unless a reference
  // The name (without slash), the string's bytes or the stream's data; empty for anything else.
  const std::string& text() const;

  // Arrays. Items of anything else: none.
  size_t size() const;
  CosValue at(size_t index) const;  // null outside the array
  void Append(const CosValue& item);

  // Dictionaries and streams' dictionaries. Get gives null for an absent key and for other kinds.
  bool Has(const std::string& key) const;
  CosValue Get(const std::string& key) const;
  void Set(const std::string& key, const CosValue& value);  // replaces, or appends in order
  void Remove(const std::string& key);
  const Entries& entries() const;  // empty for anything else

  // Replaces a stream's data.
  void SetData(std::string data);

  // The same value, not merely an equal one.
  bool SameAs(const CosValue& other) const { return m_node == other.m_node; }
  const void* identity() const { return m_node.get(); }

 private:
  struct Node;
  explicit CosValue(std::shared_ptr<Node> node);
  std::shared_ptr<Node> m_node;
};

}  // namespace acrohost

#endif
