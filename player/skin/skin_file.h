#pragma once

// "main.da1": one record of four integers per line, read into the skin layout table.

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "skin/skin_state.h"

namespace zefa {

using SkinTable = std::array<SkinElement, kSkinElements>;

// The element a line fills: lines 0-21 fill elements 0-21, lines 22-46 fill 25-49; -1 for
// lines after 46.
int32_t skin_element_of_line(size_t line);

// Reads the file's text and stores every field as soon as it converts. Returns the user's
// message when a field is not an integer; the fields stored before it keep their new values.
std::optional<std::string> read_skin_file(std::string_view text, SkinTable& table);

} // namespace zefa
