// The temporary PRC file of the document scan, one stream at a time.
//
// The folder that "temp" names may be one that other users write to, and two Exports may share
// it. So the file is opened in a way that nothing planted at its fixed name can steer, and held
// while the stream is written, so that no other Export writes it meanwhile. It is let go before
// the 3D library loads it: the library opens it however it opens files, exclusively included, and
// no handle of ours may refuse that open. What the library read is then checked instead: after
// the load the name must still name the very file that was written, with the same size and the
// same bytes (a hash kept while writing). A file changed or replaced in between, by another
// Export or anyone else, fails the check. What the check cannot see is a file swapped out and the
// very same file put back, unchanged, between the write and the check.
#ifndef VANTRELL_EXTRACTION_TEMPORARYPRCFILE_H
#define VANTRELL_EXTRACTION_TEMPORARYPRCFILE_H

#include <windows.h>

#include <stdint.h>

#include "mfc/CStringT.h"

const int kPrcHashLanes = 4;

struct PrcFileHash {
  uint64_t lanes[kPrcHashLanes];
  uint64_t partial;
};

// What a write left in the temporary file: the file's identity, its size and the hash of its
// bytes.
struct WrittenPrcFile {
  DWORD volume;
  DWORD indexHigh;
  DWORD indexLow;
  uint64_t size;
  PrcFileHash hash;
};

// Opens the file at path for writing, created when missing, empties it and places the write
// position at its start, and starts `written` afresh with its identity. Others may read it while
// it is open, none may write or delete it. Returns INVALID_HANDLE_VALUE, having written nothing,
// when the file cannot be had safely: when another has it open for writing (another Export), when
// a link or anything but a plain file of a single name sits at the path, or when the file is not
// one this user may write.
HANDLE OpenTemporaryPrcFile(const CStringT<char>& path, WrittenPrcFile* written);

// Appends the bytes to the open file and to `written`. Returns 1 when all were written.
int AppendToTemporaryPrcFile(HANDLE file, const void* bytes, DWORD size, WrittenPrcFile* written);

// Whether the name still names the file that `written` describes, holding just those bytes.
// Reads it whole, sharing reads only, so that nobody changes it during the check.
int IsTemporaryPrcFileAsWritten(const CStringT<char>& path, const WrittenPrcFile& written);

// Deletes the file at path, unless another has it open by then.
void DeleteTemporaryPrcFile(const CStringT<char>& path);

#endif
