// How tests steer the stand-in 3D library from outside, and what it reports back.
//
// The library reads these environment variables at the calls that need them, so a setting made
// between two calls, two loads or in a parent process takes effect at the next call.
//
// VANTRELL_A3D_VERSION  What A3DDllGetVersion reports: "M.m" with signed decimal numbers ("2.0",
//                       "2.7", "3.0", "2.-1", "-1.5"). "fail", or any other text, makes it fail
//                       without writing either number. Unset or empty: the variant's own version
//                       (kStandInDefaultVersion: 2.0, or 3.0 for the version3 variant).
// VANTRELL_A3D_INIT     "fail": A3DDllInitialize fails (kStatusInitRefused). Anything else, or
//                       unset: it succeeds.
// VANTRELL_A3D_FAIL     Calls to fail, as rules separated by commas (spaces around a rule are
//                       ignored):
//                         Name          every call of that entry point
//                         Name#n        the n-th call of that entry point since the library
//                                       was loaded (n from 1)
//                         Name@text     every call whose entity argument is named `text`
//                       Only calls that are not releases count and can fail; a release (a Get
//                       with a null entity) is never failed by a rule. Any of the 199 names may be
//                       used; a failed call returns kStatusInjected and does nothing else.
// VANTRELL_A3D_LOG      A file to append the call log to, one line per event (below).
// VANTRELL_A3D_LOAD_WAIT  A file name: A3DAsmModelFileLoadFromFile first creates the file of that
//                       name with ".loading" added, then waits until the file of that name
//                       exists (at most a minute) before it reads its model file, so that a
//                       test can act while a load is under way.
// VANTRELL_A3D_SHARE    The share mode with which A3DAsmModelFileLoadFromFile opens its model
//                       file (for reading, through CreateFileA, on Linux through the stand-in's
//                       share rules): "none" (the default when unset or empty, the strictest),
//                       "read", or "read and write". Any other text fails every load with
//                       kStatusBadArgument. The file is read whole and closed within the call.
//
// The call log. Each line is one of:
//   load variant=<variant>                 the library was loaded
//   call <EntryPoint> <status> [details]   one call, with its status as a signed decimal number
//   unload unreleased=<n>                  the library is being unloaded
// The details are space-separated items, mostly key=value. An entity is written as
// <type>:"<name>" (310:"Model"), or `unknown` for an address the library did not hand out; texts
// are in double quotes with \" \\ and \xNN escapes. A Get with a null entity logs `release`. The
// line of A3DAsmModelFileLoadFromFile carries bytes=<size>:<hash>, what the file held when it
// was read (the 64-bit FNV-1a hash of its bytes, 16 hex digits), or bytes=none. The
// line of A3DDllTerminate carries unreleased=<n>: the arrays that Gets handed out and that no
// release took back (each non-empty array of a record counts once; a 3D tessellation's face
// records count as one). The unload line gives the same count for whatever is still out then.
//
// The records callers fill. Every Create, every Set and A3DAsmModelFileWriteToFile log the record
// they were handed as it was when the call began, also when the call then fails: after entity=
// (Sets, the write) and path= (the write), structSize=<n>; then, only when structSize is the
// record's size, each named field of the record in its order, as <field>=<value>; then
// unnamed=zero, or unnamed=nonzero:<offsets> with the decimal byte offsets, comma-separated, of
// the bytes that no field covers and that are not zero. Numbers are decimal, doubles with 17
// significant digits ("%.17g"), entities as above, texts quoted or `null`, and an array field is
// [e0,e1,...] with as many entries as its count field gives, or `null` for a null pointer. A
// Tess3DRecord's face records follow its faceCount as faces[<i>].<field>=<value> items, each face
// with its own structSize and unnamed, or faces=null. A null record logs record=null. A Create's
// out=<entity> comes last:
//   call A3DRiPolyBrepModelCreate 0 structSize=4 modelFlag=1 unnamed=zero out=237:""
#ifndef VANTRELL_A3DLIB_STANDINCONTROL_H
#define VANTRELL_A3DLIB_STANDINCONTROL_H

#define VANTRELL_A3D_ENV_VERSION "VANTRELL_A3D_VERSION"
#define VANTRELL_A3D_ENV_INIT "VANTRELL_A3D_INIT"
#define VANTRELL_A3D_ENV_FAIL "VANTRELL_A3D_FAIL"
#define VANTRELL_A3D_ENV_LOG "VANTRELL_A3D_LOG"
#define VANTRELL_A3D_ENV_LOAD_WAIT "VANTRELL_A3D_LOAD_WAIT"
#define VANTRELL_A3D_ENV_SHARE "VANTRELL_A3D_SHARE"

// The statuses the library returns; 0 is success.
enum StandInStatus {
  kStatusSuccess = 0,
  kStatusBadArgument = 1,     // a null pointer, or a record of the wrong size or inconsistent
  kStatusNotInitialised = 2,  // called before A3DDllInitialize or after A3DDllTerminate
  kStatusBadEntity = 3,       // an address the library did not hand out, or an entity of the wrong kind
  kStatusInjected = 4,        // failed by a rule of VANTRELL_A3D_FAIL
  kStatusUnsupported = 5,     // an entry point the stand-in does not implement
  kStatusFile = 6,            // the model file could not be read or written
  kStatusData = 7,            // the entity's data cannot be handed out (unreadable face records)
  kStatusNoVersion = 8,       // VANTRELL_A3D_VERSION asks for a failure
  kStatusInitRefused = 9,     // VANTRELL_A3D_INIT asks for a failure
  kStatusInternal = 10,       // out of memory
};

// The variants, each built as A3DLIB.dll in a3dlib-variants/<name>/:
//   version3       reports version 3.0 unless VANTRELL_A3D_VERSION says otherwise
//   missing-names  exports every name but these three: A3DXXXGet (slot 0, never called),
//                  A3DCrvNurbsGet (never called) and A3DTess3DGet (called by the model walk)
//   missing-unused lacks the two of those that the system never calls
#define VANTRELL_A3D_MISSING_NAMES {"A3DXXXGet", "A3DCrvNurbsGet", "A3DTess3DGet"}

#endif
