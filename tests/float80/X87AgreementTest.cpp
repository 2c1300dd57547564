#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

#include "ExtendedTestSupport.h"
#include "Results.h"
#include "X87Side.h"

namespace velmora {
namespace {

TEST(X87Agreement, EveryOperationGivesTheX87sBitsAndFlags) {
    // The long run (float80_differential) takes 10^8 pairs; here a share for every test run.
    operands::Random random(20261209);
    int mismatches[differential::kOperationCount] = {};
    for (int i = 0; i < 100000; ++i) {
        const soft::Float80 a = operands::Operand(random);
        const soft::Float80 b = operands::Partner(a, random);
        for (int k = 0; k < differential::kOperationCount; ++k) {
            const auto operation = static_cast<differential::Operation>(k);
            const differential::Outcome soft = differential::Soft(operation, a, b);
            const differential::Outcome x87 = differential::X87(operation, a, b);
            if (soft != x87 && mismatches[k]++ < 3) {
                ADD_FAILURE() << differential::NameOf(operation) << " " << differential::Describe(a)
                              << " " << differential::Describe(b) << ": software "
                              << differential::Describe(soft) << ", x87 "
                              << differential::Describe(x87);
            }
        }
    }
}

TEST(X87Agreement, SquareRootsAndQuotientsOfExactSquaresAndTheRangesEnds) {
    // The square root starts from a double estimate that is corrected to the exact floor:
    // exact squares (where the estimate lands one below), their neighbours, and significands
    // at both ends of [2^63, 2^64) (where it is clamped); the quotients of the same
    // significands, exact ones among them, check division's rounding on the same edges.
    constexpr std::uint64_t kOnes = ~std::uint64_t{0};
    constexpr std::uint64_t kTop = soft::kIntegerBit;
    std::vector<std::uint64_t> significands = {kTop, kTop + 1, kOnes, kOnes - 1};
    for (const std::uint64_t k : {0xFFFFFFFFull, 0xB504F334ull, 0x80000001ull, 0xD413CCCFull}) {
        for (const std::uint64_t square : {k * k - 1, k * k, k * k + 1})
            significands.push_back(square << std::countl_zero(square));
    }
    const auto expectAgreement = [](differential::Operation operation, soft::Float80 x,
                                    soft::Float80 y) {
        EXPECT_EQ(differential::Soft(operation, x, y), differential::X87(operation, x, y))
            << differential::NameOf(operation) << " " << differential::Describe(x) << " "
            << differential::Describe(y);
    };
    for (const std::uint64_t a : significands) {
        for (const int field : {soft::kBias, soft::kBias + 1}) {  // both parities of the exponent
            const soft::Float80 x{a, static_cast<std::uint16_t>(field)};
            expectAgreement(differential::Operation::SquareRoot, x, x);
            for (const std::uint64_t b : significands)
                expectAgreement(differential::Operation::Divide, x, {b, soft::kBias});
        }
    }
}

TEST(X87Agreement, TheDigestOfEveryPlatformIsTheX87s) {
    EXPECT_EQ(results::ArithmeticDigest(200000, 14, differential::X87),
              results::ArithmeticDigest(200000, 14));
}

#ifdef __GLIBC__  // whose sinl and cosl reduce every argument (others pass it to fsin)
/// Whether two normal values are equal or one unit in the last place apart, across a power of
/// two as well (1 and the largest value below it are neighbours).
bool Neighbours(soft::Float80 a, soft::Float80 b) {
    if (soft::SignOf(a) != soft::SignOf(b))
        return false;
    if (soft::FieldOf(a) < soft::FieldOf(b))
        std::swap(a, b);
    const std::uint64_t high = a.Significand & ~soft::kIntegerBit;
    const std::uint64_t low = b.Significand & ~soft::kIntegerBit;
    if (soft::FieldOf(a) == soft::FieldOf(b))
        return (high > low ? high - low : low - high) <= 1;
    return soft::FieldOf(a) == soft::FieldOf(b) + 1 && high == 0 && low == ~soft::kIntegerBit;
}

TEST(X87Agreement, SineAndCosineOfHugeArgumentsAgreeWithTheCLibraryToOneUnit) {
    // The C library reduces huge arguments with its own bits of 2/π: agreeing within a unit of
    // the last place over the whole exponent range checks the reduction and its table.
    operands::Random random(3);
    for (int i = 0; i < 4000; ++i) {
        const soft::Float80 x{
            random() | soft::kIntegerBit,
            static_cast<std::uint16_t>(soft::kBias + operands::Below(random, 16000))};
        const long double native = reference::ToNative(x);
        for (const bool cosine : {false, true}) {
            const soft::Float80 ours = (cosine ? Cos : Sin)(Extended::FromBits(x)).Bits();
            const soft::Float80 library =
                reference::FromNative(cosine ? cosl(native) : sinl(native));
            ASSERT_TRUE(Neighbours(ours, library))
                << (cosine ? "cos " : "sin ") << differential::Describe(x) << ": "
                << differential::Describe(ours) << " against " << differential::Describe(library);
        }
    }
}
#endif

}  // namespace
}  // namespace velmora
