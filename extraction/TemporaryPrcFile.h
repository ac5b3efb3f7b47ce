// The temporary PRC file held for the length of one document scan.
//
// The folder that "temp" names may be one that other users write to, and two Exports may share
// it, so the file is opened in a way that nothing planted at its fixed name can steer, and held
// so that no other Export can write it, delete it or replace it while it is in use: the 3D library
// then loads exactly the bytes this scan wrote. Others may still read it, as the 3D library must.
#ifndef VANTRELL_EXTRACTION_TEMPORARYPRCFILE_H
#define VANTRELL_EXTRACTION_TEMPORARYPRCFILE_H

#include <windows.h>

#include "mfc/CStringT.h"

// Opens the file at path for writing, created when missing, and holds it until it is released.
// Returns INVALID_HANDLE_VALUE, having written nothing, when the file cannot be had safely: when
// another holds it (another Export), when a link or anything but a plain file of a single name
// sits at the path, or when the file is not one this user may write.
HANDLE HoldTemporaryPrcFile(const CStringT<char>& path);

// Empties the held file and places the write position at its start, so that what is written
// next is all it holds. Returns 1, or 0 when the file could not be emptied.
int EmptyTemporaryPrcFile(HANDLE file);

// Appends the bytes to the held file. Returns 1 when all were written.
int AppendToTemporaryPrcFile(HANDLE file, const void* bytes, DWORD size);

// Lets the file go and deletes it, unless by then another holds it. Without a held file
// (INVALID_HANDLE_VALUE), only the deletion is tried, under the same rule.
void ReleaseTemporaryPrcFile(HANDLE file, const CStringT<char>& path);

#endif
