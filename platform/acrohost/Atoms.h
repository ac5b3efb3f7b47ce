// Atoms: the host's 16-bit numbers for strings (Core 5).
#ifndef VANTRELL_ACROHOST_ATOMS_H
#define VANTRELL_ACROHOST_ATOMS_H

#include <string>
#include <unordered_map>
#include <vector>

#include "host/HostTypes.h"

namespace acrohost {

class Atoms {
 public:
  // The value that no string gets.
  static constexpr HostAtom kNull = 0;

  // The atom of a string: the same string always gets the same atom. The null atom for a null
  // pointer, or when all 65535 atoms are taken.
  HostAtom Intern(const char* text);
  HostAtom Intern(const std::string& text);
  // The atom of a string that was interned before, else the null atom.
  HostAtom Find(const std::string& text) const;
  // The string of an atom, or null for the null atom and for a value that no string has.
  const std::string* Text(HostAtom atom) const;
  size_t size() const { return m_texts.size(); }

 private:
  std::vector<std::string> m_texts;  // the atom of m_texts[i] is i + 1
  std::unordered_map<std::string, HostAtom> m_index;
};

}  // namespace acrohost

#endif
