// float80_differential [COUNT] [SEED]: COUNT random operand pairs (default 1,000,000) for
// every operation of the software extended format, each result and its flags compared with
// the x87's. Prints the count and the mismatches of every operation; exits 1 on any mismatch.
#include <cstdio>
#include <cstdlib>

#include "Comparison.h"
#include "Operands.h"

int main(int argc, char** argv) {
    using namespace velmora;
    using differential::Operation;
    const unsigned long long count = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 1000000;
    const unsigned long long seed = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 1;
    operands::Random random(seed);
    unsigned long long mismatches[differential::kOperationCount] = {};
    unsigned long long shown = 0;
    for (unsigned long long i = 0; i < count; ++i) {
        const soft::Float80 a = operands::Operand(random);
        const soft::Float80 b = operands::Partner(a, random);
        for (int k = 0; k < differential::kOperationCount; ++k) {
            const auto operation = static_cast<Operation>(k);
            // The conversions from double and int64 read a's significand as their operand.
            const auto s = differential::Soft(operation, a, b);
            const auto x = differential::X87(operation, a, b);
            if (s == x)
                continue;
            ++mismatches[k];
            if (shown++ < 20) {
                std::printf("%s %s %s: software %s, x87 %s\n", differential::NameOf(operation),
                            differential::Describe(a).c_str(), differential::Describe(b).c_str(),
                            differential::Describe(s).c_str(), differential::Describe(x).c_str());
            }
        }
    }
    unsigned long long total = 0;
    for (int k = 0; k < differential::kOperationCount; ++k) {
        std::printf("%-12s %llu operand pairs, %llu mismatches\n",
                    differential::NameOf(static_cast<Operation>(k)), count, mismatches[k]);
        total += mismatches[k];
    }
    return total == 0 ? 0 : 1;
}
