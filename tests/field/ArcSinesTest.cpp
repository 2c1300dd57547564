#include <gtest/gtest.h>

#include "ArcSines.h"
#include "FieldModel.h"
#include "FloatingPointFlags.h"

namespace velmora {
namespace {

using arcs::ArcSinesOf;

// The sines follow the state's π: a π met after another gets its own arcs, and going back
// gives the first ones again, each the exactly rounded sine of its arc's angle.
TEST(ArcSines, AreTheExactSinesOfTheArcAnglesOfTheCurrentPi) {
    const Extended pis[] = {kTenDecimalPi, 3.14159265358979_ext, kTenDecimalPi, 3};
    for (const Extended pi : pis) {
        SCOPED_TRACE(testing::Message() << "pi " << static_cast<double>(pi));
        const arcs::ArcSines& sines = ArcSinesOf(pi);
        int wrong = 0;
        for (int k = 0; k < arcs::kArcCount; ++k)
            wrong += sines[static_cast<std::size_t>(k)] == Sin(arcs::ArcAngle(pi, k)) ? 0 : 1;
        EXPECT_EQ(wrong, 0);
        EXPECT_EQ(sines[0], 0);
    }
}

// An absurd π faults while its arcs are made; every later call for it raises the same faults,
// and a sane π after it raises none.
TEST(ArcSines, RaiseTheFaultsOfTheirComputationAtEveryCall) {
    const unsigned none = 0;
    for (int call = 0; call < 2; ++call) {
        EXPECT_EQ(FlagsAfter(none, [] { ArcSinesOf(kInfiniteExtended); }), soft::kInvalid)
            << "call " << call;
    }
    EXPECT_EQ(FlagsAfter(soft::kDivisionByZero, [] { ArcSinesOf(kTenDecimalPi); }),
              soft::kDivisionByZero);
    EXPECT_EQ(FlagsAfter(none, [] { ArcSinesOf(kTenDecimalPi); }), none);
}

}  // namespace
}  // namespace velmora
