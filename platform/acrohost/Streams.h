// Readers of streams' decoded contents (Cos 32, AcroSupport 43 and 45).
#ifndef VANTRELL_ACROHOST_STREAMS_H
#define VANTRELL_ACROHOST_STREAMS_H

#include <stdint.h>
#include <stdio.h>

#include <map>
#include <memory>
#include <string>

#include "host/HostTypes.h"

namespace acrohost {

// Decoded contents, read from the start in pieces.
class ByteReader {
 public:
  virtual ~ByteReader() = default;
  // Copies up to size bytes into buffer and returns how many: exactly size until the end of the
  // contents, fewer only at the end, 0 after it.
  virtual size_t Read(char* buffer, size_t size) = 0;
};

// Contents written first and read afterwards: kept in memory up to a limit, and in an anonymous
// temporary file beyond it, so that a large stream is never held whole in memory.
class Spool : public ByteReader {
 public:
  explicit Spool(size_t memoryLimit);
  ~Spool() override;
  Spool(const Spool&) = delete;
  Spool& operator=(const Spool&) = delete;

  // Appends bytes; false when the temporary file cannot be created or written.
  bool Write(const void* data, size_t size);
  // Ends the writing; reading starts at the first byte. False when the file cannot be rewound.
  bool FinishWriting();
  size_t Read(char* buffer, size_t size) override;

  uint64_t size() const { return m_size; }
  bool inFile() const { return m_file != nullptr; }

 private:
  size_t m_memoryLimit;
  std::string m_memory;
  FILE* m_file = nullptr;
  uint64_t m_size = 0;
  size_t m_readOffset = 0;  // in m_memory
  bool m_failed = false;
};

// The open readers of a host.
class StreamReaders {
 public:
  HostStream Add(std::unique_ptr<ByteReader> reader);
  // AcroSupport 43: reads count items of itemSize bytes (whole items are counted; the bytes of
  // an item cut by the end are consumed). 0 for an unknown reader, a null buffer or a count or
  // size below 1.
  int32_t Read(HostStream stream, char* buffer, int32_t itemSize, int32_t count);
  // AcroSupport 45: false for a reader that is not open.
  bool Close(HostStream stream);
  size_t open() const { return m_readers.size(); }

 private:
  std::map<uintptr_t, std::unique_ptr<ByteReader>> m_readers;
};

}  // namespace acrohost

#endif
