// float80_differential [COUNT] [SEED]: COUNT random operand pairs (default 1,000,000) for
// every operation of the software extended format, each result and its flags compared with
// the x87's. Prints the count and the mismatches of every operation, and how often the
// exact sine and cosine differ from the x87's own instructions and from the C library's;
// exits 1 on any mismatch of the operations.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>

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

/// One family of angles: how often the exactly rounded sine and cosine (Sin and Cos on both
/// backends) differ from the C library's sinl and cosl and from the unit's fsin and fcos, and
/// how often the library differs from the unit.
struct SineCounts {
    unsigned long long angles = 0, sinl = 0, cosl = 0, fsin = 0, fcos = 0, libraryVsUnit = 0;

    void Add(Extended angle) {
        const auto differ = [](long double other, Extended ours) {
            return !(reference::FromNative(other) == ours.Bits());
        };
        const long double native = reference::ToNative(angle.Bits());
        const Extended sine = Sin(angle);
        const Extended cosine = Cos(angle);
        ++angles;
        sinl += differ(::sinl(native), sine) ? 1 : 0;
        cosl += differ(::cosl(native), cosine) ? 1 : 0;
        fsin += differ(X87Sine(native), sine) ? 1 : 0;
        fcos += differ(X87Cosine(native), cosine) ? 1 : 0;
        libraryVsUnit +=
            reference::FromNative(::sinl(native)) == reference::FromNative(X87Sine(native)) ? 0 : 1;
    }

    void Print(const char* family) const {
        const auto percent = [this](unsigned long long n) { return 100.0 * n / angles; };
        std::printf(
            "%s, %llu angles: the exact sine differs from sinl for %.3f %%, the exact "
            "cosine from cosl for %.3f %%; from fsin for %.3f %%, from fcos for %.3f %%; "
            "sinl differs from fsin for %.3f %%\n",
            family, angles, percent(sinl), percent(cosl), percent(fsin), percent(fcos),
            percent(libraryVsUnit));
    }
};

/// How often the exactly rounded sine and cosine differ from the unit's and the C library's:
/// the arcs' angles of the bench against fsin, then random angles of [0, 2π), random probe angles
/// (|x| < 10^6), whole and one-decimal degrees × π ÷ 180 as one turn gives them, and the
/// angles a probe reaches turn by turn.
void ReportSineDifferences(unsigned long long count, operands::Random& random) {
    const Extended pi = 3.1415926535_ext;
    int arcs = 0;
    for (int k = 0; k < 1000; ++k) {
        const double phi = static_cast<double>(Extended(k) / 1000 * 2 * pi);
        arcs += reference::FromNative(X87Sine(phi)) == Sin(phi).Bits() ? 0 : 1;
    }
    std::printf("arcs of the bench: %d of 1000 exact sines differ from fsin\n", arcs);
    std::uniform_real_distribution<double> unit(0, 1);
    SineCounts circle, probe, degrees, walked;
    Extended angle = 0;
    for (unsigned long long i = 0; i < count; ++i) {
        circle.Add(Extended(unit(random)) * 2 * pi + Extended(unit(random)) * 1e-17_ext);
        probe.Add((Extended(unit(random)) - 0.5_ext) * 2000000);
        // A typed turn: whole degrees up to a full turn, or one or two decimals.
        const int tenths = operands::Below(random, 3) == 0 ? operands::Below(random, 36001)
                                                           : operands::Below(random, 361) * 10;
        const Extended typed = Extended(tenths) / 10 * (operands::Below(random, 2) ? 1 : -1);
        const Extended delta = typed * pi / 180;
        degrees.Add(delta);
        angle = operands::Below(random, 2) ? delta + angle : angle - delta;
        walked.Add(angle);
        if (operands::Below(random, 50) == 0)
            angle = 0;  // a Reset
    }
    circle.Print("[0, 2π)");
    probe.Print("(-1e6, 1e6)");
    degrees.Print("typed degrees × π ÷ 180");
    walked.Print("angles reached turn by turn");
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
