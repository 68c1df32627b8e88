// Any bytes as a playlist file: the load takes only absolute paths with an extension and no
// line breaks, reading in pieces gives the same lines as reading at once, and what was loaded
// saves and loads back unchanged.

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>

#include "harness.h"
#include "playlist/playlist_text.h"
#include "shell/path_text.h"

namespace {

std::vector<std::string> lines_in_pieces(std::string_view text, size_t piece) {
    std::vector<std::string> out;
    zefa::PlaylistLines lines;
    const auto add = [&](const std::string& l) { out.push_back(l); };
    for (size_t at = 0; at < text.size(); at += piece)
        lines.feed(text.substr(at, piece), add);
    lines.finish(add);
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace zefa;
    const std::string text(reinterpret_cast<const char*>(data), size);
    const size_t piece = size == 0 ? 1 : 1 + data[0] % 64;
    if (lines_in_pieces(text, piece) != lines_in_pieces(text, text.size() + 1))
        throw std::logic_error("pieces changed the lines");

    test::Harness h;
    h.dir.write("list.m3u", text);
    h.p().list.ListBox1 = {"/kept.mp3"};
    if (!h.p().HEN_LOAD(2, h.dir.str() + "list.m3u")) throw std::logic_error("load failed");
    if (!h.dialogs.messages.empty()) throw std::logic_error("a message for a readable file");
    const std::vector<std::string> loaded = h.p().list.ListBox1;
    if (loaded.front() != "/kept.mp3") throw std::logic_error("append lost the old entry");
    for (const std::string& e : loaded)
        if (e.empty() || e.front() != '/' || path_ext(e).empty() ||
            e.find_first_of(std::string("\r\n\0", 3)) != std::string::npos)
            throw std::logic_error("an entry that no line can give");
    if (h.win.playlist_items.size() != loaded.size()) throw std::logic_error("window not copied");

    if (!h.p().HEN_LOAD(1, h.dir.str() + "zefa.hen")) throw std::logic_error("save failed");
    if (!h.p().HEN_LOAD(0, h.dir.str() + "zefa.hen")) throw std::logic_error("reload failed");
    if (h.p().list.ListBox1 != loaded) throw std::logic_error("round trip changed the list");
    return 0;
}
