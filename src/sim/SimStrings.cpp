#include "sim/SimStrings.h"

#include <algorithm>

namespace nimbrel::sim {

namespace {

template <typename Char>
Char Lower(Char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<Char>(c - 'A' + 'a') : c;
}

}  // namespace

String AsciiLower(StringView text) {
    String out(text);
    std::transform(out.begin(), out.end(), out.begin(), Lower<char16_t>);
    return out;
}

std::string AsciiLower(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), Lower<char>);
    return out;
}

bool EqualsIgnoreCase(StringView a, StringView b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [](char16_t x, char16_t y) { return Lower(x) == Lower(y); });
}

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return Lower(x) == Lower(y); });
}

StringView Terminated(const char16_t* text) {
    return text ? StringView(text) : StringView();
}

}  // namespace nimbrel::sim
