#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zefa {

// Strict text-to-int32 conversion shared by the settings file, the skin file and the dialog:
// optional leading blanks, an optional sign, then decimal digits, or hexadecimal digits after
// "$", "0x" or "x". Trailing blanks, an empty value and values outside 32 bits fail.
std::optional<int32_t> str_to_int(std::string_view text);

// The message shown when a value fails str_to_int; a long value shows at most its first 200
// bytes, cut before a UTF-8 character that would not fit whole.
std::string not_an_integer_message(std::string_view text);

} // namespace zefa
