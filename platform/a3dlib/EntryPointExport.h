// How the library's entry points are declared: C linkage, and on ELF the default visibility
// (everything else is hidden, and a version script exports exactly the library's names). On
// Windows a module-definition file lists the exports.
#ifndef VANTRELL_A3DLIB_ENTRYPOINTEXPORT_H
#define VANTRELL_A3DLIB_ENTRYPOINTEXPORT_H

#if defined(_WIN32)
#define A3D_EXPORT extern "C"
#else
#define A3D_EXPORT extern "C" __attribute__((visibility("default")))
#endif

#endif
