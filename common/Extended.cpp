#include "Extended.h"

#include "Float80SineCosine.h"

namespace velmora {

namespace {

/// Runs a soft operation on x's bits and raises its faults on the backend's flags.
template <class Operation>
Extended Soft(Operation operation, Extended x) {
    unsigned flags = 0;
    const Extended result = Extended::FromBits(operation(x.Bits(), flags));
    if (flags != 0)
        RaiseExtendedFaults(flags);
    return result;
}

}  // namespace

Extended Sin(Extended x) {
    return Soft([](soft::Float80 bits, unsigned& flags) { return soft::Sine(bits, flags); }, x);
}

Extended Cos(Extended x) {
    return Soft([](soft::Float80 bits, unsigned& flags) { return soft::Cosine(bits, flags); }, x);
}

Extended ScaleByPowerOfTwo(Extended x, int n) {
    return Soft(
        [n](soft::Float80 bits, unsigned& flags) {
            const soft::Kind kind = soft::KindOf(bits);
            if (soft::IsNaNKind(kind) || kind == soft::Kind::Unsupported)
                return soft::PropagateNaN(bits, kind, bits, kind, flags);
            if (kind != soft::Kind::Finite)
                return bits;  // zeros and infinities stay
            const soft::Unpacked u = soft::Normalised(bits);
            // Far beyond either end the exponent is clamped: the result is the same.
            const int exponent = u.Exponent + (n > 40000 ? 40000 : n < -40000 ? -40000 : n);
            return soft::RoundToFormat(soft::SignOf(bits), exponent, {u.Significand, 0}, flags);
        },
        x);
}

}  // namespace velmora
