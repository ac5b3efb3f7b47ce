// Windows path names on a Linux file system.
#ifndef VANTRELL_WIN32_PATHNAMES_H
#define VANTRELL_WIN32_PATHNAMES_H

#include <string>

namespace win32 {

// The path with every backslash taken as a separator.
std::string ToNativePath(const char* path);
// The folder part of a native path, without its trailing separator ("" for a bare name).
std::string FolderOf(const std::string& path);
// The part after the last separator.
std::string FileNameOf(const std::string& path);

}  // namespace win32

#endif
