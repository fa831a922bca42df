#include "ui/WholeNumber.h"

#include <limits>

namespace nimbrel {

bool ParseWholeNumber(StringView text, std::int32_t& value) {
    const auto isBlank = [](char16_t c) { return c == u' ' || c == u'\t'; };
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';
    const std::size_t digits = i;
    std::int64_t magnitude = 0;
    constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        magnitude = magnitude * 10 + (text[i] - u'0');
        if (magnitude > kLimit) return false;
    }
    if (i == digits) return false;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    if (i != text.size()) return false;
    const std::int64_t result = negative ? -magnitude : magnitude;
    if (result > std::numeric_limits<std::int32_t>::max()) return false;
    value = static_cast<std::int32_t>(result);
    return true;
}

String DecimalText(std::int64_t value) {
    String text;
    const bool negative = value < 0;
    // Works on the negative side so that the smallest value has no overflow.
    std::int64_t rest = negative ? value : -value;
    do {
        text.insert(text.begin(), static_cast<char16_t>(u'0' - rest % 10));
        rest /= 10;
    } while (rest != 0);
    if (negative) text.insert(text.begin(), u'-');
    return text;
}

}  // namespace nimbrel
