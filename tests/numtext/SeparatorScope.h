#pragma once

#include "NumText.h"

namespace velmora {

/// Sets the process-wide decimal separator for one test and puts the previous settings back.
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
