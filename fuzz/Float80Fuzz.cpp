// libFuzzer target: two extended values from the input bytes (ten bytes each, the x87's
// in-memory layout: significand, then sign and exponent), every operation of the software
// format on them against the x87 unit. Any difference in the result's bits or the flags
// raised aborts with both sides printed.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "X87Side.h"

namespace {

velmora::soft::Float80 Take(const std::uint8_t* bytes) {
    velmora::soft::Float80 x;
    std::memcpy(&x.Significand, bytes, 8);
    std::memcpy(&x.SignExponent, bytes + 8, 2);
    return x;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace velmora::differential;
    if (size < 20)
        return 0;
    const velmora::soft::Float80 a = Take(data);
    const velmora::soft::Float80 b = Take(data + 10);
    for (int k = 0; k < kOperationCount; ++k) {
        const auto operation = static_cast<Operation>(k);
        const Outcome soft = Soft(operation, a, b);
        const Outcome x87 = X87(operation, a, b);
        if (soft != x87) {
            std::fprintf(stderr, "%s %s %s: software %s, x87 %s\n", NameOf(operation),
                         Describe(a).c_str(), Describe(b).c_str(), Describe(soft).c_str(),
                         Describe(x87).c_str());
            std::abort();
        }
    }
    return 0;
}
