#include "ArithmeticCheck.h"

#include "Error.h"

namespace velmora {

ArithmeticCheck::~ArithmeticCheck() {
    if (!restored_)
        held_.Restore();
}

void ArithmeticCheck::Finish() {
    const unsigned raised = RaisedExtendedFaults();
    held_.Restore();
    restored_ = true;
    ThrowArithmeticError(raised);
}

void ThrowArithmeticError(unsigned faults) {
    if (faults & soft::kOverflow)
        throw EMathError(u"Floating point overflow");
    if (faults & soft::kDivisionByZero)
        throw EMathError(u"Floating point division by zero");
    if (faults & soft::kInvalid)
        throw EMathError(u"Invalid floating point operation");
}

}  // namespace velmora
