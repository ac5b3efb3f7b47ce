// How a module built for Linux carries Windows resources: one ELF note per resource, in a
// section of type SHT_NOTE so that the linker maps it in a PT_NOTE segment.
//
//   note name  "Win32Resource" (with its terminator), note type kWin32ResourceNoteType
//   descriptor u32 resource type (2 for a bitmap), u32 integer identifier, u32 language,
//              u32 size of the data, then the data (for a bitmap: the device-independent bitmap
//              without its file header)
#ifndef VANTRELL_WIN32_WIN32RESOURCES_H
#define VANTRELL_WIN32_WIN32RESOURCES_H

#define kWin32ResourceNoteNameText "Win32Resource"
static const char kWin32ResourceNoteName[] = kWin32ResourceNoteNameText;
enum { kWin32ResourceNoteType = 0x52535243 };

#endif
