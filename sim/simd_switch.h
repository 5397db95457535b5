// The one switch between the processor's SSE2 instructions and plain C++. LUMORA_SSE2 is 1 when
// the build allows SIMD (the LUMORA_SIMD option, on unless the build turns it off) and the
// compiler targets a processor that has SSE2; only then are the intrinsics included. Every use
// of them has a plain version beside it that gives the same results bit for bit, so lumora
// behaves the same on any processor and with the option off.
#pragma once

#ifndef LUMORA_SIMD
#define LUMORA_SIMD 1
#endif

#if LUMORA_SIMD && defined(__SSE2__)
#define LUMORA_SSE2 1
#include <emmintrin.h>
#else
#define LUMORA_SSE2 0
#endif
