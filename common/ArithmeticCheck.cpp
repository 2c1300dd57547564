#include "ArithmeticCheck.h"

#include "Error.h"

namespace velmora {

ArithmeticCheck::ArithmeticCheck() noexcept {
    std::feholdexcept(&saved_);
}

ArithmeticCheck::~ArithmeticCheck() {
    if (!restored_)
        std::fesetenv(&saved_);
}

void ArithmeticCheck::Finish() {
    const int raised = std::fetestexcept(FE_OVERFLOW | FE_DIVBYZERO | FE_INVALID);
    std::fesetenv(&saved_);
    restored_ = true;
    ThrowArithmeticError(raised);
}

void ThrowArithmeticError(int flags) {
    if (flags & FE_OVERFLOW)
        throw EMathError(u"Floating point overflow");
    if (flags & FE_DIVBYZERO)
        throw EMathError(u"Floating point division by zero");
    if (flags & FE_INVALID)
        throw EMathError(u"Invalid floating point operation");
}

}  // namespace velmora
