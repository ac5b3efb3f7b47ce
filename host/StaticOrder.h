// The order in which the plug-in module's own static objects, of both subsystems, are built when
// it is loaded: the application object first, then the host-name table, then the last-error
// text. They are destroyed in the reverse order when the module is unloaded, so the application
// object goes last.
#ifndef VANTRELL_HOST_STATICORDER_H
#define VANTRELL_HOST_STATICORDER_H

enum {
  kApplicationOrder = 1000,
  kHostNamesOrder = 1001,
  kLastErrorTextOrder = 1002,
};

#if defined(__GNUC__)
#define VANTRELL_STATIC_ORDER(order) __attribute__((init_priority(order)))
#else
#define VANTRELL_STATIC_ORDER(order)
#endif

#endif
