// The names a module file exports, read from the file itself: the defined dynamic symbols of an
// ELF shared object on Linux, the named exports of a PE DLL on Windows.
#ifndef VANTRELL_TESTS_A3DLIB_EXPORTEDNAMES_H
#define VANTRELL_TESTS_A3DLIB_EXPORTEDNAMES_H

#include <set>
#include <string>

namespace a3dtest {

// Empty when the file cannot be read or is not a module of the platform's format.
std::set<std::string> ExportedNames(const std::string& path);

}  // namespace a3dtest

#endif
