#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zefa {

// The text from the last "." when no "/" follows it; empty otherwise.
std::string_view path_ext(std::string_view path);
// The text after the last "/".
std::string_view file_name_part(std::string_view path);
// ASCII case-insensitive equality (extensions).
bool iequal(std::string_view a, std::string_view b);
// Byte length the text would have in Shift-JIS: ASCII counts 1, every other character 2.
int32_t sjis_length(std::string_view utf8);
// True when the path names a playlist file (".hen" or ".m3u", any case).
bool is_playlist_path(std::string_view path);

} // namespace zefa
