#pragma once

#include <cstdint>

#include "Float80SineCosine.h"
#include "Operands.h"
#include "SoftSide.h"

// Digests of the software format's results over a fixed stream of operands: one number that
// tells whether a platform gives every bit and flag the same.
namespace velmora::results {

/// FNV-1a over 64-bit words.
class Digest {
  public:
    void Add(std::uint64_t word) {
        for (int i = 0; i < 8; ++i) {
            hash_ = (hash_ ^ ((word >> (8 * i)) & 0xFF)) * 0x100000001B3;
        }
    }
    void Add(const differential::Outcome& o) {
        Add(o.Value.Significand);
        Add(o.Value.SignExponent);
        Add(o.Flags);
    }
    std::uint64_t Value() const { return hash_; }

  private:
    std::uint64_t hash_ = 0xCBF29CE484222325;
};

/// Every arithmetic operation and conversion over `count` operand pairs of `seed`, by `side`
/// (differential::Soft, or differential::X87 where there is one).
template <class Side>
std::uint64_t ArithmeticDigest(long count, std::uint64_t seed, Side side) {
    operands::Random random(seed);
    Digest digest;
    for (long i = 0; i < count; ++i) {
        const soft::Float80 a = operands::Operand(random);
        const soft::Float80 b = operands::Partner(a, random);
        for (int k = 0; k < differential::kOperationCount; ++k)
            digest.Add(side(static_cast<differential::Operation>(k), a, b));
    }
    return digest.Value();
}

inline std::uint64_t ArithmeticDigest(long count, std::uint64_t seed) {
    return ArithmeticDigest(count, seed, differential::Soft);
}

/// Sine and cosine of `count` arguments of `seed`, from tiny to huge.
inline std::uint64_t SineCosineDigest(long count, std::uint64_t seed) {
    operands::Random random(seed);
    Digest digest;
    for (long i = 0; i < count; ++i) {
        const soft::Float80 x = operands::Operand(random);
        unsigned flags = 0;
        digest.Add({soft::Sine(x, flags), flags});
        flags = 0;
        digest.Add({soft::Cosine(x, flags), flags});
    }
    return digest.Value();
}

}  // namespace velmora::results
