// Forces a floating-point value to the precision of its type.
//
// Where the compiler evaluates float and double arithmetic in wider registers (the x87 unit of a
// 32-bit build), an intermediate result may keep extra bits until it is stored. The mesh routines
// promise results computed in float (or double) step by step, the same bits on every target, so
// they pass each step through this.
#ifndef VANTRELL_OPENNURBS_FLOATROUNDING_H
#define VANTRELL_OPENNURBS_FLOATROUNDING_H

#include <cfloat>

// The value rounded to Real (float or double).
template <class Real>
inline Real ON_Rounded(Real value) {
#if defined(FLT_EVAL_METHOD) && FLT_EVAL_METHOD != 0
  volatile Real stored = value;
  return stored;
#else
  return value;
#endif
}

#endif
