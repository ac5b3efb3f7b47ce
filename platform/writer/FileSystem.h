// What the writer needs of the platform's file system, one implementation per platform.
#ifndef VANTRELL_WRITER_FILESYSTEM_H
#define VANTRELL_WRITER_FILESYSTEM_H

#include <stdio.h>

#include <string>

namespace meshwright {

// The path as the platform's file functions take it. Paths come with Windows separators; on
// Linux a backslash separates folders too.
std::string NativePath(const std::string& path);

// The folder part of a native path with its trailing separator, or "" for a bare name.
std::string FolderOf(const std::string& nativePath);

// Whether the path names a folder.
bool IsFolder(const std::string& nativePath);

// Creates a file that does not exist yet, open for writing bytes. Returns null with errno set
// (EEXIST when something is already there).
FILE* CreateNewFile(const std::string& nativePath);

// 0 when an existing file at the path may be replaced (or there is none), otherwise an errno
// value: a file that is read-only for this user is not replaced, as Windows refuses to.
int CheckReplaceable(const std::string& nativePath);

// Puts the file source in place of target in one step, replacing target if it exists. Both lie
// in the same folder. Returns 0 or an errno value.
int MoveIntoPlace(const std::string& source, const std::string& target);

// Removes a file; failures are ignored.
void RemoveFile(const std::string& nativePath);

}  // namespace meshwright

#endif
