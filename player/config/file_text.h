#pragma once

// File services shared by the settings file, the playlist files and the skin files.

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace zefa {

// Upper bounds of the files the player reads. None comes near them; they only keep a huge or
// endless file from taking all memory. The settings and the skin table allow values of
// megabytes, which load (or are refused with their own message) as they always did.
inline constexpr size_t kMaxSettingsBytes = 16 * 1024 * 1024;
inline constexpr size_t kMaxPlaylistBytes = 64 * 1024 * 1024;
inline constexpr size_t kMaxSkinTableBytes = 16 * 1024 * 1024;
inline constexpr size_t kMaxBitmapBytes = 256 * 1024 * 1024;
// Skins offered in the settings dialog: far more than anyone keeps; a folder of millions of
// entries cannot stall the dialog.
inline constexpr size_t kMaxSkinFolders = 10000;

// The user's message for a failed open or read (errno value).
std::string io_error_message(int err);
// "ファイル %s を作成できません" for the path.
std::string cannot_create_message(const std::string& path);
// Reads a whole ordinary file of at most max_bytes into bytes; 0, or the errno value of the
// failure: EISDIR for a folder, EINVAL for a pipe, device or socket (never opened to block or
// read without end), EFBIG for a larger file. After a failed read, bytes holds what was read
// before it; after any other failure it is empty.
int read_regular_file(const std::string& path, size_t max_bytes, std::string& bytes);
// Writes the bytes to a temporary file beside the path and renames it over the path, so the
// old file stays whole until the new one is complete. False on any failure.
bool write_file_replacing(const std::string& path, const std::string& bytes);
// Removes from the folder the ordinary files that an interrupted write_file_replacing of one of
// the names left behind, and nothing else. Returns how many were removed.
size_t remove_stale_temporaries(const std::string& folder,
                                std::initializer_list<std::string_view> names);
// True when the path names something whose attributes can be read.
bool path_exists(const std::string& path);

// The names of the folder's sub-folders (links to folders count), sorted by their bytes; at
// most `limit` of them. Empty when the folder is missing or unreadable.
std::vector<std::string> list_subfolders(const std::string& folder, size_t limit);

} // namespace zefa
