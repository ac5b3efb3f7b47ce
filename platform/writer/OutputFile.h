// A file that replaces its target only once it is complete.
//
// The content goes to a new temporary file in the target's folder; Commit puts it in place of the
// target in one step. Until then, and after any failure, the target stays as it was, and the
// temporary file is removed.
#ifndef VANTRELL_WRITER_OUTPUTFILE_H
#define VANTRELL_WRITER_OUTPUTFILE_H

#include <stdio.h>

#include <string>
#include <string_view>

namespace meshwright {

class OutputFile {
 public:
  OutputFile() = default;
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  // Prepares to write the file at target (a native path). Returns 0, or an errno value when the
  // target cannot be written: a folder, a read-only file, a folder that is missing or that cannot
  // be written to.
  int Open(const std::string& target);

  // Appends text; a failure is kept and reported by Commit.
  void Write(std::string_view text);
  void WriteInt(long long value);
  // Three numbers separated by single spaces. Each float is written as the shortest decimal text
  // that reads back as exactly that float (C locale, no exponent where a plain form is as
  // short); the values must be finite.
  void WriteFloats(float a, float b, float c);
  void WriteInts(long long a, long long b, long long c);

  // Finishes the file and puts it in place of the target. Returns 0, or an errno value; after a
  // failure the target is untouched.
  int Commit();

 private:
  void WriteFloat(float value);
  void Flush();
  void Discard();

  std::string m_target;
  std::string m_temporary;
  FILE* m_file = nullptr;
  std::string m_buffer;
  int m_error = 0;
};

}  // namespace meshwright

#endif
