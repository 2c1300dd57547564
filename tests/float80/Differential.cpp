// float80_differential [COUNT] [SEED]: COUNT random operand pairs (default 1,000,000) for
// every operation of the software extended format, each result and its flags compared with
// the x87's. Prints the count and the mismatches of every operation, and how often the
// exact sine and cosine differ from the x87's own instructions and from the C library's;
// exits 1 on any mismatch of the operations.
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "Extended.h"

#include "Operands.h"
#include "X87Side.h"

namespace {

using namespace velmora;

long double X87Sine(long double x) {
    long double result;
    asm("fsin" : "=t"(result) : "0"(x));
    return result;
}

long double X87Cosine(long double x) {
    long double result;
    asm("fcos" : "=t"(result) : "0"(x));
    return result;
}

/// How often Sin and Cos differ from another sine and cosine: the arcs' angles of the bench,
/// random angles of [0, 2π) against the x87's fsin and fcos, and random angles of the probe
/// (|x| < 10^6) against the C library's sinl and cosl.
void ReportSineDifferences(unsigned long long count, operands::Random& random) {
    const auto differ = [](long double other, Extended ours) {
        return !(reference::FromNative(other) == ours.Bits());
    };
    const Extended pi = 3.1415926535_ext;
    int arcs = 0;
    for (int k = 0; k < 1000; ++k) {
        const double phi = static_cast<double>(Extended(k) / 1000 * 2 * pi);
        arcs += differ(X87Sine(phi), Sin(phi)) ? 1 : 0;
    }
    std::printf("arcs of the bench: %d of 1000 sines differ from fsin\n", arcs);
    unsigned long long sines = 0, cosines = 0, librarySines = 0, libraryCosines = 0;
    std::uniform_real_distribution<double> unit(0, 1);
    for (unsigned long long i = 0; i < count; ++i) {
        const Extended angle = Extended(unit(random)) * 2 * pi + Extended(unit(random)) * 1e-17_ext;
        const long double native = reference::ToNative(angle.Bits());
        sines += differ(X87Sine(native), Sin(angle)) ? 1 : 0;
        cosines += differ(X87Cosine(native), Cos(angle)) ? 1 : 0;
        const Extended probe = (Extended(unit(random)) - 0.5_ext) * 2000000;
        const long double probeNative = reference::ToNative(probe.Bits());
        librarySines += differ(sinl(probeNative), Sin(probe)) ? 1 : 0;
        libraryCosines += differ(cosl(probeNative), Cos(probe)) ? 1 : 0;
    }
    std::printf("%llu angles of [0, 2π): %llu sines differ from fsin, %llu cosines from fcos\n",
                count, sines, cosines);
    std::printf("%llu angles of (-1e6, 1e6): %llu sines differ from sinl, %llu cosines from cosl\n",
                count, librarySines, libraryCosines);
}

}  // namespace

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
    ReportSineDifferences(count, random);
    unsigned long long total = 0;
    for (int k = 0; k < differential::kOperationCount; ++k) {
        std::printf("%-12s %llu operand pairs, %llu mismatches\n",
                    differential::NameOf(static_cast<Operation>(k)), count, mismatches[k]);
        total += mismatches[k];
    }
    return total == 0 ? 0 : 1;
}
