#include "config/int_conv.h"

#include <string>

namespace zefa {

std::optional<int32_t> str_to_int(std::string_view s) {
    size_t i = 0;
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';

    int base = 10;
    if (i < s.size() && s[i] == '$') {
        base = 16, ++i;
    } else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
        base = 16, i += 2;
    } else if (i < s.size() && (s[i] == 'x' || s[i] == 'X')) {
        base = 16, ++i;
    }
    if (i == s.size()) return std::nullopt;

    const int64_t limit = negative ? 2147483648LL : 2147483647LL;
    int64_t value = 0;
    for (; i < s.size(); ++i) {
        const char c = s[i];
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return std::nullopt;
        value = value * base + digit;
        if (value > limit) return std::nullopt;
    }
    return static_cast<int32_t>(negative ? -value : value);
}

namespace {

// The length of text's first max bytes, less a UTF-8 character the cut would split.
size_t utf8_cut(std::string_view text, size_t max) {
    if (text.size() <= max) return text.size();
    // Back over at most three continuation bytes to a lead byte whose sequence the cut splits;
    // anything else is no UTF-8 and keeps the byte cut.
    auto continuation = [&](size_t i) {
        return (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80;
    };
    if (!continuation(max)) return max;
    for (size_t lead = max; lead > 0 && max - lead < 3;) {
        --lead;
        if (continuation(lead)) continue;
        const auto c = static_cast<unsigned char>(text[lead]);
        const size_t length = (c & 0xE0) == 0xC0   ? 2
                              : (c & 0xF0) == 0xE0 ? 3
                              : (c & 0xF8) == 0xF0 ? 4
                                                   : 0;
        return max - lead < length ? lead : max;
    }
    return max;
}

} // namespace

std::string not_an_integer_message(std::string_view text) {
    // A line of garbage can be megabytes long; the message shows its start.
    constexpr size_t kShown = 200;
    std::string shown(text.substr(0, utf8_cut(text, kShown)));
    if (text.size() > kShown) shown += "…";
    return "'" + shown + "' は整数ではありません";
}

} // namespace zefa
