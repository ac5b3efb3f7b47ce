#include "acrohost/Atoms.h"

#include "acrohost/Host.h"
#include "acrohost/Operations.h"

namespace acrohost {

HostAtom Atoms::Intern(const char* text) { return text ? Intern(std::string(text)) : kNull; }

HostAtom Atoms::Intern(const std::string& text) {
  auto found = m_index.find(text);
  if (found != m_index.end()) return found->second;
  if (m_texts.size() >= 0xFFFF) return kNull;
  m_texts.push_back(text);
  HostAtom atom = static_cast<HostAtom>(m_texts.size());
  m_index.emplace(text, atom);
  return atom;
}

HostAtom Atoms::Find(const std::string& text) const {
  auto found = m_index.find(text);
  return found == m_index.end() ? kNull : found->second;
}

const std::string* Atoms::Text(HostAtom atom) const {
  if (atom == kNull || atom > m_texts.size()) return nullptr;
  return &m_texts[atom - 1];
}

namespace ops {

HostAtom HostAtomFromString(const char* text) {
  Host* host = Host::Current();
  if (!host) return Atoms::kNull;
  HostAtom atom = host->atoms().Intern(text);
  if (atom == Atoms::kNull && text) host->Note("no atom left for \"" + std::string(text) + "\"");
  return atom;
}

}  // namespace ops
}  // namespace acrohost
