#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "Float80Arithmetic.h"
#include "Float80Convert.h"

// Every operation of the software extended format by name, and what it gives: the result's
// bits and the flags raised.
namespace velmora::differential {

using soft::Float80;

enum class Operation {
    Add,
    Subtract,
    Multiply,
    Divide,
    SquareRoot,
    ToDouble,
    FromDouble,
    ToInteger,
    FromInteger,
    Less,
    Equal,
};
inline constexpr int kOperationCount = 11;

inline const char* NameOf(Operation operation) {
    static const char* const kNames[] = {"add",        "subtract",  "multiply",    "divide",
                                         "sqrt",       "to double", "from double", "to int64",
                                         "from int64", "compare <", "compare =="};
    return kNames[static_cast<int>(operation)];
}

/// What one side gave: the result's bits (an 80-bit value, or a double's or an integer's bits
/// in Significand) and the flags.
struct Outcome {
    Float80 Value;
    unsigned Flags = 0;
    friend bool operator==(const Outcome&, const Outcome&) = default;
};

inline Outcome Soft(Operation operation, Float80 a, Float80 b) {
    Outcome out;
    unsigned& f = out.Flags;
    const auto word = [](std::uint64_t bits) { return Float80{bits, 0}; };
    switch (operation) {
        case Operation::Add:
            out.Value = soft::Add(a, b, f);
            break;
        case Operation::Subtract:
            out.Value = soft::Subtract(a, b, f);
            break;
        case Operation::Multiply:
            out.Value = soft::Multiply(a, b, f);
            break;
        case Operation::Divide:
            out.Value = soft::Divide(a, b, f);
            break;
        case Operation::SquareRoot:
            out.Value = soft::SquareRoot(a, f);
            break;
        case Operation::ToDouble:
            out.Value = word(soft::BitCast<std::uint64_t>(soft::ToDouble(a, f)));
            break;
        case Operation::FromDouble:
            out.Value = soft::FromDouble(soft::BitCast<double>(a.Significand), f);
            break;
        case Operation::ToInteger:
            out.Value = word(static_cast<std::uint64_t>(soft::ToInteger(a, f)));
            break;
        case Operation::FromInteger:
            out.Value = soft::FromInteger(static_cast<std::int64_t>(a.Significand));
            break;
        case Operation::Less:
            out.Value = word(soft::Compare(a, b, true, f) == soft::Ordering::Less);
            break;
        case Operation::Equal:
            out.Value = word(soft::Compare(a, b, false, f) == soft::Ordering::Equal);
            break;
    }
    return out;
}

inline std::string Describe(Float80 x) {
    char text[48];
    std::snprintf(text, sizeof text, "%04x:%016llx", static_cast<unsigned>(x.SignExponent),
                  static_cast<unsigned long long>(x.Significand));
    return text;
}

inline std::string Describe(const Outcome& o) {
    return Describe(o.Value) + " flags " + std::to_string(o.Flags);
}

}  // namespace velmora::differential
