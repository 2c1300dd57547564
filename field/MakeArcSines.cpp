// make_arc_sines: writes field/ArcSineTable.cpp, the x87's fsin of every arc angle of the
// bench, for the portable backend. Built and run on an x87 build only:
//   build/field/make_arc_sines > field/ArcSineTable.cpp
#include <bit>
#include <cstdio>

#include "ArcSines.h"

int main() {
    using namespace velmora;
    std::printf(
        "// The x87's fsin of the bench's 1000 arc angles (π = 3.1415926535), written by\n"
        "// make_arc_sines on an x87 build: each angle's double, then the sine's significand\n"
        "// and sign and exponent. Do not edit; the x87 build's tests check every entry.\n"
        "#include \"ArcSines.h\"\n\n"
        "namespace velmora::arcs {\n\n"
        "// clang-format off\n"
        "const ArcSineEntry kArcSineTable[kArcCount] = {\n");
    for (int k = 0; k < arcs::kArcCount; ++k) {
        const double phi = arcs::ArcAngle(arcs::kTablePi, k);
        const soft::Float80 sine = UnitSine(phi).Bits();
        std::printf("    {0x%016llX, 0x%016llX, 0x%04X},\n",
                    static_cast<unsigned long long>(std::bit_cast<std::uint64_t>(phi)),
                    static_cast<unsigned long long>(sine.Significand),
                    static_cast<unsigned>(sine.SignExponent));
    }
    std::printf("};\n// clang-format on\n\n}  // namespace velmora::arcs\n");
    return 0;
}
