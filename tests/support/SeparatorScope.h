#pragma once

#include "NumText.h"

namespace velmora {

/// Makes `separator` the process-wide decimal separator while it lives, and puts back every
/// format setting as it was before when it goes, whatever the code in between changed.
class SeparatorScope {
  public:
    explicit SeparatorScope(char16_t separator) : saved_(FormatSettings()) {
        FormatSettings().DecimalSeparator = separator;
    }
    ~SeparatorScope() { FormatSettings() = saved_; }
    SeparatorScope(const SeparatorScope&) = delete;
    SeparatorScope& operator=(const SeparatorScope&) = delete;

  private:
    TFormatSettings saved_;
};

}  // namespace velmora
