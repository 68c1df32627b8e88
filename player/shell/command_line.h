#pragma once

// What the command line asks for. The first argument is a file to play, as it always was;
// "--help" and "--version" print and end instead, unless a file of that name exists.

#include <functional>
#include <string>

namespace zefa {

enum class CommandLineRequest { Play, Help, Version };

CommandLineRequest read_command_line(const std::string& first_argument,
                                     const std::function<bool(const std::string&)>& exists);

std::string usage_text();
std::string version_text(); // "ZEFA <version>"

} // namespace zefa
