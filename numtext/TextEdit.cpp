#include "NumText.h"

namespace velmora {

namespace {

bool IsBlank(char16_t c) {
    return c <= u' ';
}

}  // namespace

std::u16string TrimBlanks(std::u16string_view text) {
    std::size_t first = 0;
    std::size_t end = text.size();
    while (first < end && IsBlank(text[first]))
        ++first;
    while (end > first && IsBlank(text[end - 1]))
        --end;
    return std::u16string(text.substr(first, end - first));
}

std::u16string ReplaceAll(std::u16string_view text, std::u16string_view old,
                          std::u16string_view replacement) {
    if (old.empty())
        return std::u16string(text);
    std::u16string result;
    result.reserve(text.size());
    std::size_t from = 0;
    for (std::size_t at = text.find(old); at != std::u16string_view::npos;
         at = text.find(old, from)) {
        result.append(text.substr(from, at - from));
        result.append(replacement);
        from = at + old.size();
    }
    result.append(text.substr(from));
    return result;
}

}  // namespace velmora
