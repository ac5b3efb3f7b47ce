// The Windows API and C run-time names that Vantrell and its stand-ins use, on Linux.
//
// On Windows the real headers provide these names. Here they keep Windows semantics where the
// system relies on them: a bare library name is searched for in the host program's folder, then
// the current folder, then PATH; environment names match without regard to case; paths may use
// the backslash as a separator.
#ifndef VANTRELL_WIN32_WINDOWS_H
#define VANTRELL_WIN32_WINDOWS_H

#if defined(_WIN32)
#error "this header stands in for <windows.h> on Linux only"
#endif

// The C headers whose names are redirected below come first, so that their own declarations
// are not renamed.
#include <stddef.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#ifdef __cplusplus
#include <cstdio>
#include <cstdlib>
#endif

#define WIN32_API __attribute__((visibility("default")))
#define WINAPI
#define CALLBACK

typedef int BOOL;
typedef unsigned char BYTE;
typedef unsigned short WORD;
typedef uint32_t DWORD;
typedef uint64_t DWORDLONG;
typedef unsigned int UINT;
typedef long LONG;
typedef intptr_t INT_PTR;
typedef uintptr_t UINT_PTR;
typedef char CHAR;
typedef char* LPSTR;
typedef const char* LPCSTR;
typedef void* LPVOID;
typedef void* HANDLE;
typedef struct HINSTANCE__* HINSTANCE;
typedef HINSTANCE HMODULE;
typedef struct HWND__* HWND;
typedef struct HBITMAP__* HBITMAP;
typedef INT_PTR (*FARPROC)(void);
typedef void* LPSECURITY_ATTRIBUTES;
typedef DWORD* LPDWORD;
typedef const void* LPCVOID;
typedef void* LPOVERLAPPED;

typedef struct {
  DWORD dwLowDateTime;
  DWORD dwHighDateTime;
} FILETIME;

typedef struct {
  DWORD dwFileAttributes;
  FILETIME ftCreationTime;
  FILETIME ftLastAccessTime;
  FILETIME ftLastWriteTime;
  DWORD dwVolumeSerialNumber;
  DWORD nFileSizeHigh;
  DWORD nFileSizeLow;
  DWORD nNumberOfLinks;
  DWORD nFileIndexHigh;
  DWORD nFileIndexLow;
} BY_HANDLE_FILE_INFORMATION;
typedef BY_HANDLE_FILE_INFORMATION* LPBY_HANDLE_FILE_INFORMATION;

// What GlobalMemoryStatusEx reports, in bytes but for the load, a percentage.
typedef struct {
  DWORD dwLength;  // sizeof(MEMORYSTATUSEX), set by the caller
  DWORD dwMemoryLoad;
  DWORDLONG ullTotalPhys;
  DWORDLONG ullAvailPhys;
  DWORDLONG ullTotalPageFile;
  DWORDLONG ullAvailPageFile;
  DWORDLONG ullTotalVirtual;
  DWORDLONG ullAvailVirtual;
  DWORDLONG ullAvailExtendedVirtual;
} MEMORYSTATUSEX;
typedef MEMORYSTATUSEX* LPMEMORYSTATUSEX;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

#define MAX_PATH 260
#define _MAX_PATH 260
#define _MAX_DRIVE 3
#define _MAX_DIR 256
#define _MAX_FNAME 256
#define _MAX_EXT 256

#define LOAD_WITH_ALTERED_SEARCH_PATH 0x00000008
#define SW_SHOW 5
#define RT_BITMAP_ID 2

#define MAKEINTRESOURCEA(i) ((LPSTR)(uintptr_t)((WORD)(i)))
#define IS_INTRESOURCE(p) ((((uintptr_t)(p)) >> 16) == 0)

#define INVALID_HANDLE_VALUE ((HANDLE)(intptr_t)-1)
#define GENERIC_READ 0x80000000u
#define GENERIC_WRITE 0x40000000u
#define FILE_SHARE_READ 0x00000001u
#define FILE_SHARE_WRITE 0x00000002u
#define FILE_SHARE_DELETE 0x00000004u
#define CREATE_NEW 1
#define CREATE_ALWAYS 2
#define OPEN_EXISTING 3
#define OPEN_ALWAYS 4
#define FILE_ATTRIBUTE_DIRECTORY 0x00000010u
#define FILE_ATTRIBUTE_NORMAL 0x00000080u
#define FILE_ATTRIBUTE_REPARSE_POINT 0x00000400u
#define FILE_FLAG_OPEN_REPARSE_POINT 0x00200000u
#define FILE_TYPE_UNKNOWN 0
#define FILE_TYPE_DISK 1
#define FILE_TYPE_CHAR 2
#define FILE_TYPE_PIPE 3
#define FILE_BEGIN 0
#define INVALID_SET_FILE_POINTER ((DWORD)-1)

// ShellExecuteA's answers of 32 or less are failures.
#define SE_ERR_FNF 2
#define SE_ERR_NOASSOC 31

#ifdef __cplusplus
extern "C" {
#endif

// Libraries. A name without a folder is searched for in the folder of the host program, then
// the current folder, then each folder of PATH; a name is matched exactly first, then without
// regard to case. Returns null when no library could be loaded.
WIN32_API HMODULE LoadLibraryExA(LPCSTR fileName, HANDLE file, DWORD flags);
WIN32_API HMODULE LoadLibraryA(LPCSTR fileName);
WIN32_API FARPROC GetProcAddress(HMODULE module, LPCSTR name);
WIN32_API BOOL FreeLibrary(HMODULE module);
// Linux only (where Windows has GetLastError): why this thread's last LoadLibraryA or
// LoadLibraryExA failed, in the dynamic loader's words, or that no such file was found; "" after
// one that succeeded. Valid until the thread's next load.
WIN32_API const char* Win32LoadLibraryError(void);

// Modules. GetModuleHandleA finds a loaded module by its file name (without regard to case), or
// the host program for a null name; it does not add a reference. GetModuleFileNameA writes the
// module's full path (the host program's for a null module) and returns its length, or the
// buffer size with a truncated, terminated path when it does not fit.
WIN32_API HMODULE GetModuleHandleA(LPCSTR moduleName);
WIN32_API DWORD GetModuleFileNameA(HMODULE module, LPSTR fileName, DWORD size);

// Resources. Finds a bitmap resource (type 2) with an integer identifier in the module; the
// handle stays valid for the life of the process. Null when the module has no such resource.
WIN32_API HBITMAP LoadBitmapA(HINSTANCE instance, LPCSTR name);

// The shell. Opens the file with the program that the desktop has for it. Returns a value above
// 32 on success; SE_ERR_FNF for a missing file, SE_ERR_NOASSOC when nothing can open it.
WIN32_API HINSTANCE ShellExecuteA(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory,
                                  int showCommand);

// The folder for temporary files, with a trailing separator; returns its length.
WIN32_API DWORD GetTempPathA(DWORD size, LPSTR buffer);

// Files, through handles. Paths may use backslashes. On POSIX, Windows' share modes are kept
// between the handles of this layer, in any process: an open fails, as a sharing violation does,
// when it asks to read or write a file that a handle already open does not share that access of,
// or when its own share mode leaves out an access that such a handle has. Opens by other means
// (fopen) take no part. A handle opened for writing can also read, so the file must be readable
// by its owner. With FILE_FLAG_OPEN_REPARSE_POINT a symbolic link at the path is not followed:
// where Windows would open the link itself, the open fails here. A file of another owner is not
// opened for writing, as the folders for temporary files that users share give no one write
// access to another's files. A special file (a pipe, a device) is never waited on.
WIN32_API HANDLE CreateFileA(LPCSTR fileName, DWORD desiredAccess, DWORD shareMode, LPSECURITY_ATTRIBUTES security,
                             DWORD creationDisposition, DWORD flagsAndAttributes, HANDLE templateFile);
// Attributes (directory, normal), size, number of links, and the volume and index that name the
// file.
WIN32_API BOOL GetFileInformationByHandle(HANDLE file, LPBY_HANDLE_FILE_INFORMATION information);
WIN32_API DWORD GetFileType(HANDLE file);
WIN32_API DWORD SetFilePointer(HANDLE file, LONG distance, LONG* distanceHigh, DWORD moveMethod);
WIN32_API BOOL SetEndOfFile(HANDLE file);
// Reads what there is, up to bytesToRead; *bytesRead is 0 at the end of the file.
WIN32_API BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD bytesToRead, LPDWORD bytesRead, LPOVERLAPPED overlapped);
WIN32_API BOOL WriteFile(HANDLE file, LPCVOID buffer, DWORD bytesToWrite, LPDWORD bytesWritten,
                         LPOVERLAPPED overlapped);
WIN32_API BOOL CloseHandle(HANDLE object);
// Fails, as on Windows, while a handle of this layer that does not share deletion is open on the
// file; a symbolic link is deleted itself.
WIN32_API BOOL DeleteFileA(LPCSTR fileName);

// Memory. The machine's physical memory, the commit limit (memory and swap), and the user
// address space that the process may map: that of the build's pointers (128 TiB for 64-bit
// ones), or less where the process's limit on it (RLIMIT_AS) is lower; what it has mapped
// already is not available. Fails when dwLength is not the record's size or the figures
// cannot be had.
WIN32_API BOOL GlobalMemoryStatusEx(LPMEMORYSTATUSEX status);

// C run-time names of Windows. _unlink deletes as DeleteFileA does.
WIN32_API void _splitpath(const char* path, char* drive, char* dir, char* fname, char* ext);
WIN32_API int _unlink(const char* path);
WIN32_API FILE* Win32Fopen(const char* path, const char* mode);
WIN32_API char* Win32Getenv(const char* name);

#ifdef __cplusplus
}
#endif

// Windows' fopen and getenv take backslashes and match names without regard to case.
#define fopen Win32Fopen
#define getenv Win32Getenv

// Linux only: the bytes of a bitmap resource that LoadBitmapA returned (a device-independent
// bitmap without a file header), for the stand-in host and the tests.
#ifdef __cplusplus
extern "C"
#endif
    WIN32_API const unsigned char*
    Win32BitmapBytes(HBITMAP bitmap, size_t* size);

#endif
