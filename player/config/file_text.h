#pragma once

// File services shared by the settings file and the playlist files.

#include <string>

namespace zefa {

// The user's message for a failed open or read (errno value).
std::string io_error_message(int err);
// "ファイル %s を作成できません" for the path.
std::string cannot_create_message(const std::string& path);
// Writes the bytes to a temporary file beside the path and renames it over the path, so the
// old file stays whole until the new one is complete. False on any failure.
bool write_file_replacing(const std::string& path, const std::string& bytes);
// True when the path names something whose attributes can be read.
bool path_exists(const std::string& path);

} // namespace zefa
