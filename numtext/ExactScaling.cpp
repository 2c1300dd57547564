#include "ExactScaling.h"

#include <algorithm>
#include <array>
#include <bit>
#include <limits>
#include <utility>
#include <vector>

#include "Wide.h"

namespace velmora::exact {

namespace {

/// 5^0 … 5^27: the powers of five below 2^64.
constexpr auto kPowersOfFive = [] {
    std::array<std::uint64_t, 28> powers{};
    powers[0] = 1;
    for (std::size_t i = 1; i < powers.size(); ++i)
        powers[i] = powers[i - 1] * 5;
    return powers;
}();
constexpr int kQuickFivePower = 27;
constexpr int kFivePowerPerLimb = 13;  // 5^13 < 2^32

int BitLength128(wide::U128 x) {
    return 128 - wide::CountLeadingZeros(x);
}

Rest ClassifyAgainstHalf(bool halfBit, bool anyBitBelowHalf) {
    if (halfBit)
        return anyBitBelowHalf ? Rest::AboveHalf : Rest::Half;
    return anyBitBelowHalf ? Rest::BelowHalf : Rest::Zero;
}

/// limbs × factor + addend, in place; the 32-bit limbs are least significant first.
void MultiplyAdd(std::vector<std::uint32_t>& limbs, std::uint32_t factor, std::uint32_t addend) {
    std::uint64_t carry = addend;
    for (auto& limb : limbs) {
        const std::uint64_t product = std::uint64_t{limb} * factor + carry;
        limb = static_cast<std::uint32_t>(product);
        carry = product >> 32;
    }
    if (carry != 0)
        limbs.push_back(static_cast<std::uint32_t>(carry));
}

/// An unsigned integer of any size: 32-bit limbs, least significant first, without leading
/// zero limbs (zero has none).
class BigUnsigned {
  public:
    /// Limbs least significant first, without leading zero limbs.
    explicit BigUnsigned(std::vector<std::uint32_t> limbs) : limbs_(std::move(limbs)) {}

    explicit BigUnsigned(std::uint64_t value) {
        if (value != 0)
            limbs_.push_back(static_cast<std::uint32_t>(value));
        if ((value >> 32) != 0)
            limbs_.push_back(static_cast<std::uint32_t>(value >> 32));
    }

    bool IsZero() const { return limbs_.empty(); }

    int BitLength() const {
        if (limbs_.empty())
            return 0;
        return 32 * static_cast<int>(limbs_.size() - 1) + exact::BitLength(limbs_.back());
    }

    bool Bit(int index) const {
        const auto limb = static_cast<std::size_t>(index / 32);
        return limb < limbs_.size() && ((limbs_[limb] >> (index % 32)) & 1) != 0;
    }

    bool AnyBitBelow(int index) const {
        const auto whole = std::min(static_cast<std::size_t>(index / 32), limbs_.size());
        for (std::size_t i = 0; i < whole; ++i) {
            if (limbs_[i] != 0)
                return true;
        }
        if (whole == limbs_.size() || index % 32 == 0)
            return false;
        return (limbs_[whole] & ((std::uint32_t{1} << (index % 32)) - 1)) != 0;
    }

    /// The low 64 bits.
    std::uint64_t Low64() const {
        std::uint64_t low = limbs_.empty() ? 0 : limbs_[0];
        if (limbs_.size() > 1)
            low |= std::uint64_t{limbs_[1]} << 32;
        return low;
    }

    void MultiplyBy(std::uint32_t factor) {
        MultiplyAdd(limbs_, factor, 0);
        Trim();
    }

    void MultiplyByPowerOfFive(int exponent) {
        const auto perLimb =
            static_cast<std::uint32_t>(kPowersOfFive[static_cast<std::size_t>(kFivePowerPerLimb)]);
        limbs_.reserve(limbs_.size() + static_cast<std::size_t>(exponent / kFivePowerPerLimb) + 1);
        for (; exponent >= kFivePowerPerLimb; exponent -= kFivePowerPerLimb)
            MultiplyBy(perLimb);
        if (exponent > 0)
            MultiplyBy(
                static_cast<std::uint32_t>(kPowersOfFive[static_cast<std::size_t>(exponent)]));
    }

    void ShiftLeft(int bits) {
        if (limbs_.empty() || bits == 0)
            return;
        const auto whole = static_cast<std::size_t>(bits / 32);
        const int part = bits % 32;
        limbs_.insert(limbs_.begin(), whole, 0);
        if (part != 0) {
            std::uint32_t carry = 0;
            for (std::size_t i = whole; i < limbs_.size(); ++i) {
                const std::uint32_t limb = limbs_[i];
                limbs_[i] = (limb << part) | carry;
                carry = limb >> (32 - part);
            }
            if (carry != 0)
                limbs_.push_back(carry);
        }
    }

    void ShiftRight(int bits) {
        const auto whole = static_cast<std::size_t>(bits / 32);
        if (whole >= limbs_.size()) {
            limbs_.clear();
            return;
        }
        limbs_.erase(limbs_.begin(), limbs_.begin() + static_cast<std::ptrdiff_t>(whole));
        const int part = bits % 32;
        if (part != 0) {
            for (std::size_t i = 0; i < limbs_.size(); ++i) {
                const std::uint32_t next = i + 1 < limbs_.size() ? limbs_[i + 1] : 0;
                limbs_[i] = (limbs_[i] >> part) | (next << (32 - part));
            }
        }
        Trim();
    }

    /// *this −= smaller, where smaller ≤ *this.
    void Subtract(const BigUnsigned& smaller) {
        std::int64_t borrow = 0;
        for (std::size_t i = 0; i < limbs_.size(); ++i) {
            std::int64_t difference = std::int64_t{limbs_[i]} - borrow;
            if (i < smaller.limbs_.size())
                difference -= smaller.limbs_[i];
            borrow = difference < 0 ? 1 : 0;
            limbs_[i] = static_cast<std::uint32_t>(difference + (borrow << 32));
        }
        Trim();
    }

    friend int Compare(const BigUnsigned& a, const BigUnsigned& b) {
        if (a.limbs_.size() != b.limbs_.size())
            return a.limbs_.size() < b.limbs_.size() ? -1 : 1;
        for (std::size_t i = a.limbs_.size(); i-- > 0;) {
            if (a.limbs_[i] != b.limbs_[i])
                return a.limbs_[i] < b.limbs_[i] ? -1 : 1;
        }
        return 0;
    }

  private:
    void Trim() {
        while (!limbs_.empty() && limbs_.back() == 0)
            limbs_.pop_back();
    }

    std::vector<std::uint32_t> limbs_;
};

/// floor(a / b) and the class of the remainder, for b > 0, by binary long division.
ScaledFloor DivideBig(BigUnsigned a, const BigUnsigned& b) {
    const int top = a.BitLength() - b.BitLength();
    if (top > 64)
        return {};  // a / b ≥ 2^(top − 1) ≥ 2^64
    wide::U128 quotient;
    if (top >= 0) {
        BigUnsigned shifted = b;
        shifted.ShiftLeft(top);
        for (int bit = top; bit >= 0; --bit) {
            if (Compare(a, shifted) >= 0) {
                a.Subtract(shifted);
                quotient = wide::Add(quotient, wide::ShiftLeft({0, 1}, bit));
            }
            shifted.ShiftRight(1);
        }
    }
    if (quotient.High != 0)
        return {};
    Rest rest = Rest::Zero;
    if (!a.IsZero()) {
        a.ShiftLeft(1);
        const int twiceRemainderAgainstDivisor = Compare(a, b);
        rest = twiceRemainderAgainstDivisor < 0    ? Rest::BelowHalf
               : twiceRemainderAgainstDivisor == 0 ? Rest::Half
                                                   : Rest::AboveHalf;
    }
    return {true, quotient.Low, rest};
}

ScaledFloor FloorScaledBig(BigUnsigned m, int binaryShift, int fivePower) {
    if (fivePower >= 0) {
        BigUnsigned product = std::move(m);
        product.MultiplyByPowerOfFive(fivePower);
        if (binaryShift >= 0) {
            if (product.BitLength() + binaryShift > 64)
                return {};
            return {true, product.Low64() << binaryShift, Rest::Zero};
        }
        const int dropped = -binaryShift;
        const Rest rest =
            ClassifyAgainstHalf(product.Bit(dropped - 1), product.AnyBitBelow(dropped - 1));
        product.ShiftRight(dropped);
        if (product.BitLength() > 64)
            return {};
        return {true, product.Low64(), rest};
    }
    BigUnsigned dividend = std::move(m);
    BigUnsigned divisor(1);
    divisor.MultiplyByPowerOfFive(-fivePower);
    if (binaryShift >= 0) {
        dividend.ShiftLeft(binaryShift);
    } else {
        divisor.ShiftLeft(-binaryShift);
    }
    return DivideBig(std::move(dividend), divisor);
}

/// Bit `index` of x, and whether any bit below `index` is set (0 ≤ index < 128).
bool BitOf(wide::U128 x, int index) {
    return ((index >= 64 ? x.High >> (index - 64) : x.Low >> index) & 1) != 0;
}
bool AnyBitBelow(wide::U128 x, int index) {
    if (index >= 64)
        return x.Low != 0 || (index > 64 && (x.High << (128 - index)) != 0);
    return index > 0 && (x.Low << (64 - index)) != 0;
}

/// FloorScaled in 128-bit arithmetic; false when the operands do not fit (or, without a
/// 128-bit integer type, for a division).
bool FloorScaledQuick(std::uint64_t m, int binaryShift, int fivePower, ScaledFloor& result) {
    if (fivePower >= 0 && fivePower <= kQuickFivePower) {
        const wide::U128 product =
            wide::Multiply(m, kPowersOfFive[static_cast<std::size_t>(fivePower)]);
        if (binaryShift >= 0) {
            result = BitLength128(product) + binaryShift > 64
                         ? ScaledFloor{}
                         : ScaledFloor{true, product.Low << binaryShift, Rest::Zero};
            return true;
        }
        const int dropped = -binaryShift;
        if (dropped >= 128) {
            result = {true, 0, product == wide::U128{} ? Rest::Zero : Rest::BelowHalf};
            return true;
        }
        const wide::U128 quotient =
            dropped >= 64 ? wide::U128{0, product.High >> (dropped - 64)}
                          : wide::U128{product.High >> dropped,
                                       (product.Low >> dropped) | (product.High << (64 - dropped))};
        result = quotient.High != 0
                     ? ScaledFloor{}
                     : ScaledFloor{true, quotient.Low,
                                   ClassifyAgainstHalf(BitOf(product, dropped - 1),
                                                       AnyBitBelow(product, dropped - 1))};
        return true;
    }
#ifdef VELMORA_WIDE_NATIVE
    if (fivePower < 0 && fivePower >= -kQuickFivePower) {
        __extension__ using Uint128 = unsigned __int128;
        Uint128 dividend = m;
        Uint128 divisor = kPowersOfFive[static_cast<std::size_t>(-fivePower)];
        if (binaryShift >= 0) {
            if (BitLength(m) + binaryShift > 127)
                return false;
            dividend <<= binaryShift;
        } else {
            if (BitLength(kPowersOfFive[static_cast<std::size_t>(-fivePower)]) - binaryShift > 126)
                return false;
            divisor <<= -binaryShift;
        }
        const Uint128 quotient = dividend / divisor;
        const Uint128 twiceRemainder = 2 * (dividend % divisor);
        const Rest rest = twiceRemainder == 0         ? Rest::Zero
                          : twiceRemainder < divisor  ? Rest::BelowHalf
                          : twiceRemainder == divisor ? Rest::Half
                                                      : Rest::AboveHalf;
        result = (quotient >> 64) != 0
                     ? ScaledFloor{}
                     : ScaledFloor{true, static_cast<std::uint64_t>(quotient), rest};
        return true;
    }
#endif
    return false;
}

}  // namespace

ExtendedParts Decompose(Extended value) {
    const soft::Float80 bits = value.Bits();
    ExtendedParts parts;
    parts.Significand = bits.Significand;
    parts.Field = soft::FieldOf(bits);
    parts.Negative = soft::SignOf(bits);
    // Subnormals share the unit of the smallest normal binade: field 0 counts as field 1.
    parts.Exponent = (parts.Field == 0 ? 1 : parts.Field) - 16383 - 63;
    return parts;
}

ScaledFloor FloorScaled(std::uint64_t m, int binaryShift, int fivePower) {
    if (m == 0)
        return {true, 0, Rest::Zero};
    ScaledFloor result;
    if (FloorScaledQuick(m, binaryShift, fivePower, result))
        return result;
    return FloorScaledBig(BigUnsigned(m), binaryShift, fivePower);
}

void WholeNumber::AppendDigits(std::u16string_view digits) {
    constexpr std::size_t kDigitsPerStep = 9;  // 10^9 < 2^32
    while (!digits.empty()) {
        const std::u16string_view step = digits.substr(0, kDigitsPerStep);
        std::uint32_t factor = 1;
        std::uint32_t written = 0;
        for (const char16_t digit : step) {
            factor *= 10;
            written = written * 10 + static_cast<std::uint32_t>(digit - u'0');
        }
        MultiplyAdd(limbs_, factor, written);
        digits.remove_prefix(step.size());
    }
}

int BitLength(const WholeNumber& m) {
    if (m.limbs_.empty())
        return 0;
    return 32 * static_cast<int>(m.limbs_.size() - 1) + BitLength(m.limbs_.back());
}

ScaledFloor FloorScaled(const WholeNumber& m, int binaryShift, int fivePower) {
    if (m.limbs_.empty())
        return {true, 0, Rest::Zero};
    return FloorScaledBig(BigUnsigned(m.limbs_), binaryShift, fivePower);
}

bool RoundsUp(const ScaledFloor& floor) {
    return floor.Dropped == Rest::AboveHalf ||
           (floor.Dropped == Rest::Half && (floor.Quotient & 1) != 0);
}

int BitLength(std::uint64_t m) {
    return static_cast<int>(std::bit_width(m));
}

int FloorLog10Of2Power(int n) {
    // 1292913987 / 2^32 ≈ log10 2; an arithmetic right shift is the floor.
    return static_cast<int>((std::int64_t{n} * 1292913987) >> 32);
}

int FloorLog2Of10Power(int n) {
    // 14267572527 / 2^32 ≈ log2 10.
    return static_cast<int>((std::int64_t{n} * 14267572527) >> 32);
}

}  // namespace velmora::exact
