#include "playlist/playlist_text.h"

#include <cerrno>
#include <unistd.h>

#include "shell/path_text.h"

namespace zefa {

std::optional<std::string> playlist_entry(std::string_view line, std::string_view folder) {
    if (line.empty() || line.find('\0') != std::string_view::npos) return std::nullopt;
    std::string entry;
    if (line.front() != '/') entry.append(folder);
    entry.append(line);
    if (entry.front() != '/' || path_ext(entry).empty()) return std::nullopt;
    return entry;
}

std::string playlist_folder(std::string_view playlist_path) {
    const size_t slash = playlist_path.rfind('/');
    std::string folder(playlist_path.substr(0, slash == std::string_view::npos ? 0 : slash + 1));
    if (!folder.empty() && folder.front() == '/') return folder;
    std::vector<char> cwd(4096);
    while (getcwd(cwd.data(), cwd.size()) == nullptr) {
        if (errno != ERANGE) return folder; // no working folder: relative lines go nowhere
        cwd.resize(cwd.size() * 2);
    }
    std::string base(cwd.data());
    if (base.empty() || base.back() != '/') base.push_back('/');
    return base + folder;
}

std::string playlist_file_text(const std::vector<std::string>& entries) {
    size_t size = 0;
    for (const std::string& e : entries)
        size += e.size() + 2;
    std::string text;
    text.reserve(size);
    for (const std::string& e : entries) {
        if (e.find_first_of("\r\n") != std::string::npos) continue;
        text += e;
        text += "\r\n";
    }
    return text;
}

} // namespace zefa
