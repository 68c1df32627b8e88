#pragma once

// The text of playlist files (".hen", ".m3u"): one path per line.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zefa {

// Cuts playlist text into lines as it arrives in pieces. A line ends at LF; a CR is never part
// of a line, wherever it stands. Lines may be of any length.
class PlaylistLines {
  public:
    // Calls on_line(std::string&) for every line the bytes complete.
    template <class OnLine> void feed(std::string_view bytes, OnLine&& on_line) {
        while (!bytes.empty()) {
            const size_t stop = bytes.find_first_of("\r\n");
            line_.append(bytes.substr(0, stop));
            if (stop == std::string_view::npos) return;
            if (bytes[stop] == '\n') {
                on_line(line_);
                line_.clear();
            }
            bytes.remove_prefix(stop + 1);
        }
    }
    // The last line, when the text does not end with LF.
    template <class OnLine> void finish(OnLine&& on_line) {
        if (!line_.empty()) on_line(line_);
        line_.clear();
    }

  private:
    std::string line_;
};

// The entry that a line of a playlist file stands for, or nothing. folder is the playlist
// file's folder with its trailing "/". A line that is not absolute is taken relative to the
// folder; the result must be absolute and have an extension. Empty lines and lines holding a
// NUL (which no path can) stand for nothing.
std::optional<std::string> playlist_entry(std::string_view line, std::string_view folder);

// The folder of the playlist file, up to and including its last "/", made absolute against
// the working folder when the path is relative.
std::string playlist_folder(std::string_view playlist_path);

// The text a save writes: every entry followed by CR LF. Entries holding a CR or LF cannot be
// told apart from line ends, so they are left out instead of coming back as other entries.
std::string playlist_file_text(const std::vector<std::string>& entries);

} // namespace zefa
