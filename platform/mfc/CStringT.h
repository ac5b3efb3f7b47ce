// The framework's 8-bit string: CStringT<char>, known as CString.
//
// A value type: copies are independent, every string owns its zero-terminated buffer, and a
// default-constructed string is the empty text. It never throws; running out of memory ends the
// process, as the framework's own string would report it with an exception nobody here catches.
//
// When VANTRELL_MFC_LOG_STRINGS is set (not empty) and VANTRELL_MFC_LOG names a file, every
// string's construction and destruction appends a line to that file, beside the application
// object's: "CString constructed "TEXT"" and "CString destroyed "TEXT"", so that tests can see in
// which order a module builds and destroys its static strings.
#ifndef VANTRELL_MFC_CSTRINGT_H
#define VANTRELL_MFC_CSTRINGT_H

#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

namespace mfc_record {

inline void RecordStringLife(const char* event, const char* text) {
  const char* strings = getenv("VANTRELL_MFC_LOG_STRINGS");
  if (!strings || !strings[0]) return;
  const char* path = getenv("VANTRELL_MFC_LOG");
  if (!path || !path[0]) return;
  if (FILE* log = fopen(path, "ab")) {
    fprintf(log, "CString %s \"%s\"\n", event, text);
    fclose(log);
  }
}

}  // namespace mfc_record

template <typename BaseType>
class CStringT;

template <>
class CStringT<char> {
 public:
  typedef char XCHAR;
  typedef const char* PCXSTR;

  CStringT() {
    Assign("", 0);
    Constructed();
  }
  CStringT(PCXSTR text) {
    Assign(text ? text : "", text ? strlen(text) : 0);
    Constructed();
  }
  CStringT(PCXSTR text, int length) {
    Assign(text, length > 0 ? static_cast<size_t>(length) : 0);
    Constructed();
  }
  CStringT(const CStringT& other) {
    Assign(other.GetString(), other.m_length);
    Constructed();
  }
  CStringT(CStringT&& other) noexcept : m_data(other.m_data), m_length(other.m_length) {
    other.m_data = nullptr;
    other.m_length = 0;
    Constructed();
  }
  ~CStringT() {
    mfc_record::RecordStringLife("destroyed", GetString());
    free(m_data);
  }

  CStringT& operator=(const CStringT& other) {
    if (this != &other) Replace(other.m_data, other.m_length);
    return *this;
  }
  CStringT& operator=(CStringT&& other) noexcept {
    if (this != &other) {
      free(m_data);
      m_data = other.m_data;
      m_length = other.m_length;
      other.m_data = nullptr;
      other.m_length = 0;
    }
    return *this;
  }
  CStringT& operator=(PCXSTR text) {
    Replace(text ? text : "", text ? strlen(text) : 0);
    return *this;
  }

  int GetLength() const { return static_cast<int>(m_length); }
  bool IsEmpty() const { return m_length == 0; }
  void Empty() { Replace("", 0); }

  // A moved-from string reads as the empty text.
  PCXSTR GetString() const { return m_data ? m_data : ""; }
  operator PCXSTR() const { return GetString(); }

  CStringT& operator+=(PCXSTR text) {
    if (text) Append(text, strlen(text));
    return *this;
  }
  CStringT& operator+=(const CStringT& other) {
    Append(other.GetString(), other.m_length);
    return *this;
  }

  // Replaces the text with the format filled in, as sprintf would write it.
  void Format(PCXSTR format, ...)
#if defined(__GNUC__)
      __attribute__((format(printf, 2, 3)))
#endif
  {
    va_list arguments;
    va_start(arguments, format);
    FormatV(format, arguments);
    va_end(arguments);
  }

  void FormatV(PCXSTR format, va_list arguments) {
    va_list measure;
    va_copy(measure, arguments);
    int needed = vsnprintf(nullptr, 0, format, measure);
    va_end(measure);
    if (needed < 0) {
      Empty();
      return;
    }
    char* buffer = Allocate(static_cast<size_t>(needed));
    vsnprintf(buffer, static_cast<size_t>(needed) + 1, format, arguments);
    free(m_data);
    m_data = buffer;
    m_length = static_cast<size_t>(needed);
  }

  friend bool operator==(const CStringT& a, const CStringT& b) { return strcmp(a.GetString(), b.GetString()) == 0; }
  friend bool operator==(const CStringT& a, PCXSTR b) { return strcmp(a.GetString(), b ? b : "") == 0; }
  friend bool operator!=(const CStringT& a, const CStringT& b) { return !(a == b); }
  friend bool operator!=(const CStringT& a, PCXSTR b) { return !(a == b); }

 private:
  void Constructed() const { mfc_record::RecordStringLife("constructed", GetString()); }
  static char* Allocate(size_t length) {
    char* buffer = static_cast<char*>(malloc(length + 1));
    if (!buffer) abort();
    return buffer;
  }
  void Assign(PCXSTR text, size_t length) {
    m_data = Allocate(length);
    memcpy(m_data, text, length);
    m_data[length] = '\0';
    m_length = length;
  }
  // The source may lie inside this string's own buffer, so it is copied before the old buffer goes.
  void Replace(PCXSTR text, size_t length) {
    char* old = m_data;
    Assign(text, length);
    free(old);
  }
  void Append(PCXSTR text, size_t length) {
    char* buffer = Allocate(m_length + length);
    memcpy(buffer, GetString(), m_length);
    memcpy(buffer + m_length, text, length);
    buffer[m_length + length] = '\0';
    free(m_data);
    m_data = buffer;
    m_length += length;
  }

  char* m_data = nullptr;
  size_t m_length = 0;
};

typedef CStringT<char> CStringA;
typedef CStringA CString;

#endif
