#include "acrohost/CosValue.h"

namespace acrohost {

struct CosValue::Node {
  Kind kind = kNull;
  bool boolean = false;
  int64_t integer = 0;
  double real = 0;
  std::string text;
  std::vector<CosValue> items;
  Entries entries;
};

namespace {

const std::string kEmptyText;
const CosValue::Entries kNoEntries;

}  // namespace

CosValue::CosValue() : m_node(std::make_shared<Node>()) {}

CosValue::CosValue(std::shared_ptr<Node> node) : m_node(std::move(node)) {}

CosValue CosValue::Boolean(bool value) {
  auto node = std::make_shared<Node>();
  node->kind = kBoolean;
  node->boolean = value;
  return CosValue(node);
}

CosValue CosValue::Integer(int64_t value) {
  auto node = std::make_shared<Node>();
  node->kind = kInteger;
  node->integer = value;
  return CosValue(node);
}

CosValue CosValue::Real(double value) {
  auto node = std::make_shared<Node>();
  node->kind = kReal;
  node->real = value;
  return CosValue(node);
}

CosValue CosValue::Name(const std::string& name) {
  auto node = std::make_shared<Node>();
  node->kind = kName;
  node->text = name;
  return CosValue(node);
}

CosValue CosValue::String(const std::string& bytes) {
  auto node = std::make_shared<Node>();
  node->kind = kString;
  node->text = bytes;
  return CosValue(node);
}

CosValue CosValue::Array(std::vector<CosValue> items) {
  auto node = std::make_shared<Node>();
  node->kind = kArray;
  node->items = std::move(items);
  return CosValue(node);
}

CosValue CosValue::Dictionary(Entries entries) {
  CosValue value(std::make_shared<Node>());
  value.m_node->kind = kDictionary;
  for (auto& entry : entries) value.Set(entry.first, entry.second);
  return value;
}

CosValue CosValue::Stream(Entries dictionary, std::string data) {
  CosValue value = Dictionary(std::move(dictionary));
  value.m_node->kind = kStream;
  value.m_node->text = std::move(data);
  return value;
}

CosValue CosValue::Reference(int objectNumber) {
  auto node = std::make_shared<Node>();
  node->kind = kReference;
  node->integer = objectNumber;
  return CosValue(node);
}

CosValue::Kind CosValue::kind() const { return m_node->kind; }

CosType CosValue::type() const {
  switch (m_node->kind) {
    case kBoolean: return kCosBoolean;
    case kInteger: return kCosInteger;
    case kReal: return kCosReal;
    case kName: return kCosName;
    case kString: return kCosString;
    case kArray: return kCosArray;
    case kDictionary: return kCosDictionary;
    case kStream: return kCosStream;
    case kNull:
    case kReference: break;
  }
  return kCosNull;
}

bool CosValue::boolean() const { return m_node->kind == kBoolean && m_node->boolean; }

int64_t CosValue::integer() const { return m_node->kind == kInteger ? m_node->integer : 0; }

double CosValue::real() const {
  if (m_node->kind == kReal) return m_node->real;
  if (m_node->kind == kInteger) return static_cast<double>(m_node->integer);
  return 0;
}

int CosValue::referenceNumber() const {
  return m_node->kind == kReference ? static_cast<int>(m_node->integer) : 0;
}

const std::string& CosValue::text() const {
  Kind k = m_node->kind;
  return k == kName || k == kString || k == kStream ? m_node->text : kEmptyText;
}

size_t CosValue::size() const { return m_node->kind == kArray ? m_node->items.size() : 0; }

CosValue CosValue::at(size_t index) const {
  if (m_node->kind != kArray || index >= m_node->items.size()) return CosValue();
  return m_node->items[index];
}

void CosValue::Append(const CosValue& item) {
  if (m_node->kind == kArray) m_node->items.push_back(item);
}

bool CosValue::Has(const std::string& key) const {
  for (const auto& entry : entries())
    if (entry.first == key) return true;
  return false;
}

CosValue CosValue::Get(const std::string& key) const {
  for (const auto& entry : entries())
    if (entry.first == key) return entry.second;
  return CosValue();
}

void CosValue::Set(const std::string& key, const CosValue& value) {
  if (m_node->kind != kDictionary && m_node->kind != kStream) return;
  for (auto& entry : m_node->entries) {
    if (entry.first == key) {
      entry.second = value;
      return;
    }
  }
  m_node->entries.emplace_back(key, value);
}

void CosValue::Remove(const std::string& key) {
  auto& list = m_node->entries;
  for (auto it = list.begin(); it != list.end(); ++it) {
    if (it->first == key) {
      list.erase(it);
      return;
    }
  }
}

const CosValue::Entries& CosValue::entries() const {
  Kind k = m_node->kind;
  return k == kDictionary || k == kStream ? m_node->entries : kNoEntries;
}

void CosValue::SetData(std::string data) {
  if (m_node->kind == kStream) m_node->text = std::move(data);
}

}  // namespace acrohost
