#pragma once

#include "SoftSide.h"
#include "X87Reference.h"

// The same operations on the x87 unit, whose results and flags the software format's must
// equal bit for bit. Only for x86 targets.
namespace velmora::differential {

inline Outcome X87(Operation operation, Float80 a, Float80 b) {
    using reference::FromNative;
    using reference::Measured;
    volatile long double x = reference::ToNative(a);
    volatile long double y = reference::ToNative(b);
    volatile double d = soft::BitCast<double>(a.Significand);
    volatile auto n = static_cast<std::int64_t>(a.Significand);
    Outcome out;
    unsigned& f = out.Flags;
    const auto word = [](std::uint64_t bits) { return Float80{bits, 0}; };
    using LD = long double;
    switch (operation) {
        case Operation::Add:
            out.Value = FromNative(Measured<LD>([&] { return x + y; }, f));
            break;
        case Operation::Subtract:
            out.Value = FromNative(Measured<LD>([&] { return x - y; }, f));
            break;
        case Operation::Multiply:
            out.Value = FromNative(Measured<LD>([&] { return x * y; }, f));
            break;
        case Operation::Divide:
            out.Value = FromNative(Measured<LD>([&] { return x / y; }, f));
            break;
        case Operation::SquareRoot:
            out.Value = FromNative(Measured<LD>(
                [&] {
                    // The instruction itself: a C library's sqrtl need not use it.
                    long double root = x;
                    asm("fsqrt" : "+t"(root));
                    return root;
                },
                f));
            break;
        case Operation::ToDouble:
            out.Value = word(soft::BitCast<std::uint64_t>(
                Measured<double>([&] { return static_cast<double>(x); }, f)));
            break;
        case Operation::FromDouble:
            out.Value = FromNative(Measured<LD>([&] { return static_cast<LD>(d); }, f));
            break;
        case Operation::ToInteger:
            out.Value = word(static_cast<std::uint64_t>(Measured<std::int64_t>(
                [&] {
                    // The instruction itself (a C++ cast beyond the range is undefined).
                    std::int64_t result = 0;
                    long double value = x;
                    asm("fisttpll %0" : "=m"(result) : "t"(value) : "st");
                    return result;
                },
                f)));
            break;
        case Operation::FromInteger:
            out.Value = FromNative(Measured<LD>([&] { return static_cast<LD>(n); }, f));
            break;
        case Operation::Less:
            out.Value = word(Measured<bool>([&] { return x < y; }, f));
            break;
        case Operation::Equal:
            out.Value = word(Measured<bool>([&] { return x == y; }, f));
            break;
    }
    return out;
}

}  // namespace velmora::differential
