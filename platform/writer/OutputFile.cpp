// The temporary file beside the target, buffered writing, and the final replacement.
#include "writer/OutputFile.h"

#include <errno.h>

#include <atomic>
#include <charconv>
#include <chrono>
#include <cstdint>

#include "writer/FileSystem.h"

namespace meshwright {

namespace {

// Writes go to the file in pieces of about this size.
const size_t kBufferSize = 1 << 16;
// Attempts at a temporary name that nothing uses yet.
const int kNameAttempts = 100;

// A name for the temporary file that is unlikely to be taken: the writer may run in several
// processes at once, and a leftover of a crashed run may lie there.
std::string TemporaryName(int attempt) {
  static std::atomic<uint64_t> counter{0};
  uint64_t mix = static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
  mix ^= reinterpret_cast<uintptr_t>(&mix) + (++counter << 32) + static_cast<uint64_t>(attempt);
  mix *= 0x9E3779B97F4A7C15ull;  // spreads the bits of the inputs over the whole value
  char hex[17];
  auto end = std::to_chars(hex, hex + 16, mix >> 32, 16).ptr;
  return "~meshwright-" + std::string(hex, end) + ".tmp";
}

}  // namespace

OutputFile::~OutputFile() { Discard(); }

int OutputFile::Open(const std::string& target) {
  if (IsFolder(target)) return EISDIR;
  if (int refused = CheckReplaceable(target)) return refused;

  std::string folder = FolderOf(target);
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    std::string temporary = folder + TemporaryName(attempt);
    FILE* file = CreateNewFile(temporary);
    if (file) {
      m_target = target;
      m_temporary = temporary;
      m_file = file;
      m_buffer.reserve(kBufferSize + 64);
      return 0;
    }
    if (errno != EEXIST) return errno;
  }
  return EEXIST;
}

void OutputFile::Write(std::string_view text) {
  m_buffer.append(text.data(), text.size());
  if (m_buffer.size() >= kBufferSize) Flush();
}

void OutputFile::WriteInt(long long value) {
  char text[24];
  auto end = std::to_chars(text, text + sizeof text, value).ptr;
  Write(std::string_view(text, static_cast<size_t>(end - text)));
}

void OutputFile::WriteFloat(float value) {
  char text[32];
  auto end = std::to_chars(text, text + sizeof text, value).ptr;
  Write(std::string_view(text, static_cast<size_t>(end - text)));
}

void OutputFile::WriteFloats(float a, float b, float c) {
  WriteFloat(a);
  Write(" ");
  WriteFloat(b);
  Write(" ");
  WriteFloat(c);
}

void OutputFile::WriteInts(long long a, long long b, long long c) {
  WriteInt(a);
  Write(" ");
  WriteInt(b);
  Write(" ");
  WriteInt(c);
}

void OutputFile::Flush() {
  if (!m_file || m_buffer.empty()) return;
  if (!m_error) {
    errno = 0;
    if (fwrite(m_buffer.data(), 1, m_buffer.size(), m_file) != m_buffer.size()) m_error = errno ? errno : EIO;
  }
  m_buffer.clear();
}

int OutputFile::Commit() {
  if (!m_file) return m_error ? m_error : EBADF;
  Flush();
  errno = 0;
  if (!m_error && fflush(m_file) != 0) m_error = errno ? errno : EIO;
  errno = 0;
  if (fclose(m_file) != 0 && !m_error) m_error = errno ? errno : EIO;
  m_file = nullptr;
  if (!m_error) m_error = MoveIntoPlace(m_temporary, m_target);
  if (m_error) {
    Discard();
    return m_error;
  }
  m_temporary.clear();
  return 0;
}

void OutputFile::Discard() {
  if (m_file) fclose(m_file);
  m_file = nullptr;
  if (!m_temporary.empty()) RemoveFile(m_temporary);
  m_temporary.clear();
}

}  // namespace meshwright
