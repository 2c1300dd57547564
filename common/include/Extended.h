#pragma once

#include <limits>

namespace velmora {

/// The bench's extended-precision number: every variable of the experiment and every typed
/// value. On x86-64 this is the x87 80-bit format (64-bit significand); elsewhere the widest
/// floating-point type the platform has.
using Extended = long double;

#if defined(__x86_64__) || defined(__i386__)
static_assert(std::numeric_limits<Extended>::digits == 64,
              "the bench needs the x87 80-bit extended format for long double");
#endif

}  // namespace velmora
