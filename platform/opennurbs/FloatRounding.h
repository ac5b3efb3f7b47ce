// Forces a floating-point value to its declared precision.
//
// Where the compiler evaluates float and double arithmetic in wider registers (the x87 unit of a
// 32-bit build), an intermediate result may keep extra bits until it is stored. The mesh routines
// promise results computed in float (or double) step by step, the same bits on every target, so
// they pass each step through these.
#ifndef VANTRELL_OPENNURBS_FLOATROUNDING_H
#define VANTRELL_OPENNURBS_FLOATROUNDING_H

#include <cfloat>

// The value rounded to float.
inline float ON_RoundedFloat(float value) {
#if defined(FLT_EVAL_METHOD) && FLT_EVAL_METHOD != 0
  volatile float stored = value;
  return stored;
#else
  return value;
#endif
}

// The value rounded to double.
inline double ON_RoundedDouble(double value) {
#if defined(FLT_EVAL_METHOD) && FLT_EVAL_METHOD != 0
  volatile double stored = value;
  return stored;
#else
  return value;
#endif
}

#endif
