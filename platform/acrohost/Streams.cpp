#include "acrohost/Streams.h"

#include <string.h>

#include "acrohost/Handles.h"
#include "acrohost/Host.h"
#include "acrohost/Operations.h"

namespace acrohost {

Spool::Spool(size_t memoryLimit) : m_memoryLimit(memoryLimit) {}

Spool::~Spool() {
  if (m_file) fclose(m_file);
}

bool Spool::Write(const void* data, size_t size) {
  if (m_failed) return false;
  if (!m_file && m_memory.size() + size > m_memoryLimit) {
    // The contents outgrow memory: everything so far, and all that follows, goes to the file.
    m_file = tmpfile();
    if (!m_file || fwrite(m_memory.data(), 1, m_memory.size(), m_file) != m_memory.size()) {
      m_failed = true;
      return false;
    }
    std::string().swap(m_memory);
  }
  if (m_file) {
    if (fwrite(data, 1, size, m_file) != size) {
      m_failed = true;
      return false;
    }
  } else {
    m_memory.append(static_cast<const char*>(data), size);
  }
  m_size += size;
  return true;
}

bool Spool::FinishWriting() {
  if (m_failed) return false;
  if (m_file && (fflush(m_file) != 0 || fseek(m_file, 0, SEEK_SET) != 0)) m_failed = true;
  return !m_failed;
}

size_t Spool::Read(char* buffer, size_t size) {
  if (m_failed || size == 0) return 0;
  if (m_file) {
    // fread may return short on a pipe-like file; keep reading until size bytes or the end.
    size_t total = 0;
    while (total < size) {
      size_t got = fread(buffer + total, 1, size - total, m_file);
      if (got == 0) break;
      total += got;
    }
    return total;
  }
  size_t available = m_memory.size() - m_readOffset;
  size_t count = size < available ? size : available;
  memcpy(buffer, m_memory.data() + m_readOffset, count);
  m_readOffset += count;
  return count;
}

HostStream StreamReaders::Add(std::unique_ptr<ByteReader> reader) {
  HostStream stream = NewHandle<HostStream>();
  m_readers[HandleKey(stream)] = std::move(reader);
  return stream;
}

int32_t StreamReaders::Read(HostStream stream, char* buffer, int32_t itemSize, int32_t count) {
  auto found = m_readers.find(HandleKey(stream));
  if (found == m_readers.end() || !buffer || itemSize < 1 || count < 1) return 0;
  int64_t wanted = static_cast<int64_t>(itemSize) * count;
  // Large requests are read in pieces, so that a read never asks for more than size_t holds.
  const int64_t kPiece = 1 << 30;
  int64_t total = 0;
  while (total < wanted) {
    int64_t piece = wanted - total < kPiece ? wanted - total : kPiece;
    size_t got = found->second->Read(buffer + total, static_cast<size_t>(piece));
    total += static_cast<int64_t>(got);
    if (static_cast<int64_t>(got) < piece) break;
  }
  return static_cast<int32_t>(total / itemSize);
}

bool StreamReaders::Close(HostStream stream) { return m_readers.erase(HandleKey(stream)) == 1; }

namespace ops {

HostStream HostCosStreamOpen(HostCosObj stream, int32_t mode) {
  Host* host = Host::Current();
  if (!host) return nullptr;
  Document* document = nullptr;
  CosId id = 0;
  if (!host->documents().Unwrap(stream, &document, &id)) {
    host->Note("Cos 32 was given no stream");
    return nullptr;
  }
  if (mode != 2) {
    host->Note("Cos 32 opens streams in mode 2 (decoded contents) only, not in mode " + std::to_string(mode));
    return nullptr;
  }
  std::string error;
  std::unique_ptr<ByteReader> reader = document->OpenDecoded(id, host->options().spoolMemoryLimit, &error);
  if (!reader) {
    host->Note("cannot read stream " + document->Label(id) + " of " + document->Describe() + ": " + error);
    return nullptr;
  }
  return host->streams().Add(std::move(reader));
}

int32_t HostStreamRead(char* buffer, int32_t itemSize, int32_t count, HostStream stream) {
  Host* host = Host::Current();
  return host ? host->streams().Read(stream, buffer, itemSize, count) : 0;
}

int32_t HostStreamClose(HostStream stream) {
  Host* host = Host::Current();
  if (!host) return -1;
  if (host->streams().Close(stream)) return 0;
  if (stream) host->Note("AcroSupport 45 was given a reader that is not open");
  return -1;
}

}  // namespace ops
}  // namespace acrohost
