#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace velmora {

/// UTF-16 to UTF-8. An unpaired surrogate becomes U+FFFD.
std::string ToUtf8(std::u16string_view text);

/// UTF-8 to UTF-16, or nothing when the bytes are not well-formed UTF-8 (overlong forms,
/// surrogate code points and values above U+10FFFF included).
std::optional<std::u16string> FromUtf8(std::string_view bytes);

}  // namespace velmora
