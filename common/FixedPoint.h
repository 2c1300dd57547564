#pragma once

#include <algorithm>
#include <cstdint>

#include "Wide.h"

// Non-negative fixed-point numbers below 4 with N 64-bit words: Q2.(64N − 2), the working
// format of the extended sine and cosine. Products are truncated, so each loses less than
// one unit of the last bit (2^−(64N − 2)).
namespace velmora::soft {

template <int N>
struct Fixed {
    std::uint64_t Words[N] = {};  ///< most significant first (a built-in array: int indices)

    static constexpr Fixed One() {
        Fixed one;
        one.Words[0] = std::uint64_t{1} << 62;
        return one;
    }

    constexpr bool operator==(const Fixed&) const = default;
    constexpr bool operator<(const Fixed& other) const {
        return std::lexicographical_compare(Words, Words + N, other.Words, other.Words + N);
    }
};

template <int N>
constexpr Fixed<N> operator+(const Fixed<N>& a, const Fixed<N>& b) {
    Fixed<N> sum;
    std::uint64_t carry = 0;
    for (int i = N - 1; i >= 0; --i) {
        const std::uint64_t partial = a.Words[i] + carry;
        carry = partial < carry ? 1 : 0;
        sum.Words[i] = partial + b.Words[i];
        carry += sum.Words[i] < partial ? 1 : 0;
    }
    return sum;
}

/// a − b for b ≤ a.
template <int N>
constexpr Fixed<N> operator-(const Fixed<N>& a, const Fixed<N>& b) {
    Fixed<N> difference;
    std::uint64_t borrow = 0;
    for (int i = N - 1; i >= 0; --i) {
        const std::uint64_t partial = a.Words[i] - borrow;
        borrow = a.Words[i] < borrow ? 1 : 0;
        difference.Words[i] = partial - b.Words[i];
        borrow += partial < b.Words[i] ? 1 : 0;
    }
    return difference;
}

/// a × b, truncated: the words of the full product from 2^(64N − 2) upward. Partial products
/// wholly below the kept words are left out; what they would carry is below one unit times N.
template <int N>
constexpr Fixed<N> operator*(const Fixed<N>& a, const Fixed<N>& b) {
    if constexpr (N == 2) {
        // The quick format's product: its four partial products, the lowest only for its
        // carry into the kept words.
        const wide::U128 hh = wide::Multiply(a.Words[0], b.Words[0]);
        const wide::U128 hl = wide::Multiply(a.Words[0], b.Words[1]);
        const wide::U128 lh = wide::Multiply(a.Words[1], b.Words[0]);
        const std::uint64_t ll = wide::Multiply(a.Words[1], b.Words[1]).High;
        const wide::U128 third = wide::Add(wide::Add({0, hl.Low}, {0, lh.Low}), {0, ll});
        const wide::U128 top =
            wide::Add(wide::Add(wide::Add(hh, {0, hl.High}), {0, lh.High}), {0, third.High});
        return {{(top.High << 2) | (top.Low >> 62), (top.Low << 2) | (third.Low >> 62)}};
    } else {
        // The product as 2N words, most significant first; only those down to word N are needed.
        std::uint64_t product[2 * N + 1] = {};
        for (int i = 0; i < N; ++i) {
            for (int j = 0; j < N; ++j) {
                if (i + j > N)
                    continue;  // lands below word N + 1 of the product
                const wide::U128 p = wide::Multiply(a.Words[i], b.Words[j]);
                // p occupies product words i + j (high) and i + j + 1 (low).
                int at = i + j + 1;
                std::uint64_t add = p.Low;
                while (add != 0 && at >= 0) {
                    product[at] += add;
                    add = product[at] < add ? 1 : 0;
                    --at;
                }
                at = i + j;
                add = p.High;
                while (add != 0 && at >= 0) {
                    product[at] += add;
                    add = product[at] < add ? 1 : 0;
                    --at;
                }
            }
        }
        // The value is product × 2^−(2 × (64N − 2)); keep it × 2^(64N − 2): shift left by 2.
        Fixed<N> result;
        for (int i = 0; i < N; ++i)
            result.Words[i] = (product[i] << 2) | (product[i + 1] >> 62);
        return result;
    }
}

/// a ÷ divisor, truncated.
template <int N>
constexpr Fixed<N> operator/(const Fixed<N>& a, std::uint64_t divisor) {
    Fixed<N> quotient;
    std::uint64_t remainder = 0;
    for (int i = 0; i < N; ++i) {
        const wide::Division d = wide::Divide({remainder, a.Words[i]}, divisor);
        quotient.Words[i] = d.Quotient;
        remainder = d.Remainder;
    }
    return quotient;
}

/// The first N words (truncated) of a longer constant in the same format.
template <int N, std::size_t M>
constexpr Fixed<N> Truncated(const std::uint64_t (&words)[M]) {
    static_assert(N <= static_cast<int>(M));
    Fixed<N> x;
    for (int i = 0; i < N; ++i)
        x.Words[i] = words[i];
    return x;
}

}  // namespace velmora::soft
