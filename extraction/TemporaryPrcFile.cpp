#include "extraction/TemporaryPrcFile.h"

#include <stdio.h>

namespace {

// FNV-1a over the file's 64-bit words (little-endian), word w going to lane w mod 4: more than
// enough to tell another Export's model from ours, and quick enough to hash a model of many
// megabytes twice. The bytes of an unfinished last word wait in `partial`.
const uint64_t kHashStart = 14695981039346656037ull;
const uint64_t kHashPrime = 1099511628211ull;

void StartHash(PrcFileHash& hash) {
  for (uint64_t& lane : hash.lanes) lane = kHashStart;
  hash.partial = 0;
}

void MixWord(PrcFileHash& hash, uint64_t word, uint64_t value) {
  uint64_t& lane = hash.lanes[word % kPrcHashLanes];
  lane = (lane ^ value) * kHashPrime;
}

// Adds the bytes that lie at offset `at` of the file.
void Hash(PrcFileHash& hash, uint64_t at, const unsigned char* bytes, DWORD size) {
  DWORD i = 0;
  for (; i < size && (at + i) % 8 != 0; ++i) {
    hash.partial |= static_cast<uint64_t>(bytes[i]) << (8 * ((at + i) % 8));
    if ((at + i) % 8 == 7) {
      MixWord(hash, (at + i) / 8, hash.partial);
      hash.partial = 0;
    }
  }
  for (; i + 8 <= size; i += 8) {
    const unsigned char* b = bytes + i;
    uint64_t value = 0;
    for (int k = 7; k >= 0; --k) value = (value << 8) | b[k];
    MixWord(hash, (at + i) / 8, value);
  }
  for (; i < size; ++i) hash.partial |= static_cast<uint64_t>(bytes[i]) << (8 * ((at + i) % 8));
}

bool SameHash(const PrcFileHash& a, const PrcFileHash& b) {
  for (int k = 0; k < kPrcHashLanes; ++k)
    if (a.lanes[k] != b.lanes[k]) return false;
  return a.partial == b.partial;
}

// A plain disk file of one name, not a folder or a link; with its identity and size.
bool IsPlainFile(HANDLE file, BY_HANDLE_FILE_INFORMATION* information) {
  return GetFileType(file) == FILE_TYPE_DISK && GetFileInformationByHandle(file, information) &&
         (information->dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) == 0 &&
         information->nNumberOfLinks == 1;
}

}  // namespace

HANDLE OpenTemporaryPrcFile(const CStringT<char>& path, WrittenPrcFile* written) {
  // Sharing reads only: another Export's open for writing fails, and so does a delete or a rename
  // of the file while it is open. A link at the path is opened as the link, and refused below.
  HANDLE file = CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ, NULL, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, NULL);
  if (file == INVALID_HANDLE_VALUE) return INVALID_HANDLE_VALUE;
  BY_HANDLE_FILE_INFORMATION information;
  // A file known by a second name (a hard link) might be another's file seen through our folder.
  // Emptied first, so a longer file before it leaves no tail behind the stream.
  if (!IsPlainFile(file, &information) || SetFilePointer(file, 0, NULL, FILE_BEGIN) == INVALID_SET_FILE_POINTER ||
      !SetEndOfFile(file)) {
    CloseHandle(file);
    return INVALID_HANDLE_VALUE;
  }
  written->volume = information.dwVolumeSerialNumber;
  written->indexHigh = information.nFileIndexHigh;
  written->indexLow = information.nFileIndexLow;
  written->size = 0;
  StartHash(written->hash);
  return file;
}

int AppendToTemporaryPrcFile(HANDLE file, const void* bytes, DWORD size, WrittenPrcFile* written) {
  DWORD done = 0;
  if (!WriteFile(file, bytes, size, &done, NULL) || done != size) return 0;
  Hash(written->hash, written->size, static_cast<const unsigned char*>(bytes), size);
  written->size += size;
  return 1;
}

int IsTemporaryPrcFileAsWritten(const CStringT<char>& path, const WrittenPrcFile& written) {
  HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, NULL);
  if (file == INVALID_HANDLE_VALUE) return 0;
  BY_HANDLE_FILE_INFORMATION information;
  bool same = IsPlainFile(file, &information) && information.dwVolumeSerialNumber == written.volume &&
              information.nFileIndexHigh == written.indexHigh && information.nFileIndexLow == written.indexLow &&
              ((static_cast<uint64_t>(information.nFileSizeHigh) << 32) | information.nFileSizeLow) == written.size;
  PrcFileHash hash;
  StartHash(hash);
  uint64_t size = 0;
  unsigned char buffer[16384];
  while (same) {
    DWORD got = 0;
    same = ReadFile(file, buffer, sizeof buffer, &got, NULL) != FALSE;
    if (!same || got == 0) break;
    Hash(hash, size, buffer, got);
    size += got;
  }
  CloseHandle(file);
  return same && size == written.size && SameHash(hash, written.hash) ? 1 : 0;
}

void DeleteTemporaryPrcFile(const CStringT<char>& path) {
  // Windows deletes no file that a handle holds without sharing deletion: another Export's file
  // that is open meanwhile stays.
  _unlink(path);
}
