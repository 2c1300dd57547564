#include <algorithm>
#include <cstdint>
#include <string>

#include "ExactScaling.h"
#include "NumText.h"

namespace velmora {

namespace {

constexpr int kExpansionDigits = 18;
constexpr std::uint64_t kLeastExpansion = 100'000'000'000'000'000;    // 10^17
constexpr std::uint64_t kExpansionLimit = 1'000'000'000'000'000'000;  // 10^18

/// The 18-digit expansion of |v| = m × 2^e (m > 0): N = |v| × 10^(18 − E) rounded to the
/// nearest integer, ties to even, with 10^(E−1) ≤ |v| < 10^E; computed exactly.
struct Expansion {
    std::uint64_t N = 0;
    int E = 0;
};

Expansion ExpandExactly(std::uint64_t m, int e) {
    // floor(log10 |v|) is floor(log10 2^b) or one more, b being the power of two below |v|.
    int decimalExponent = exact::FloorLog10Of2Power(exact::BitLength(m) - 1 + e) + 1;
    exact::ScaledFloor scaled;
    for (;;) {
        const int scale = kExpansionDigits - decimalExponent;  // × 10^scale = × 2^scale 5^scale
        scaled = exact::FloorScaled(m, e + scale, scale);
        if (!scaled.Fits || scaled.Quotient >= kExpansionLimit) {
            ++decimalExponent;
        } else if (scaled.Quotient < kLeastExpansion) {
            --decimalExponent;
        } else {
            break;
        }
    }
    Expansion expansion{scaled.Quotient + (exact::RoundsUp(scaled) ? 1 : 0), decimalExponent};
    if (expansion.N == kExpansionLimit) {
        expansion.N = kLeastExpansion;
        ++expansion.E;
    }
    return expansion;
}

}  // namespace

DecimalForm ToDecimalForm(Extended value, int precision) {
    precision = std::clamp(precision, 2, kExpansionDigits);
    const exact::ExtendedParts parts = exact::Decompose(value);
    // Zero, subnormals, infinities and NaN have no digits.
    if (parts.Field == 0 || parts.Field == 0x7FFF || parts.Significand == 0)
        return {};

    const Expansion expansion = ExpandExactly(parts.Significand, parts.Exponent);
    const std::string all = std::to_string(expansion.N);
    DecimalForm form;
    form.Negative = parts.Negative;
    int exponent = expansion.E;
    std::string kept = all.substr(0, static_cast<std::size_t>(precision));
    if (precision < kExpansionDigits && all[static_cast<std::size_t>(precision)] >= '5') {
        // Half up: a 9 that the carry turns into ten is dropped, the carry goes on.
        while (!kept.empty() && kept.back() == '9')
            kept.pop_back();
        if (kept.empty()) {
            kept.assign(1, '1');
            ++exponent;
        } else {
            ++kept.back();
        }
    } else {
        kept.erase(kept.find_last_not_of('0') + 1);
    }
    form.Digits = std::move(kept);
    form.Exponent = static_cast<std::int16_t>(exponent);
    return form;
}

}  // namespace velmora
