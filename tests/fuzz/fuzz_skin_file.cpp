// Any bytes as "main.da1": the reader agrees with a plain line-by-line reading of the scanning
// rule, never touches elements 22 to 24, and stops at the first field that is no integer.

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "config/int_conv.h"
#include "skin/skin_file.h"

namespace {

using zefa::SkinTable;

// The reference: split into lines first, then scan each line as a whole.
bool reference(const std::string& text, SkinTable& table) {
    std::vector<std::string> lines(1);
    bool ended = true;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\n' || c == '\r') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            lines.emplace_back();
            ended = true;
        } else {
            lines.back().push_back(c);
            ended = false;
        }
    }
    if (ended) lines.pop_back(); // nothing after the last line end
    for (size_t j = 0; j < lines.size(); ++j) {
        const int32_t k = zefa::skin_element_of_line(j);
        if (k < 0) break;
        std::string fields[6];
        int n = 0;
        for (char c : lines[j]) {
            if (c == '=')
                n = 1;
            else if (c == ',' || c == ';')
                n = n < 5 ? n + 1 : 5;
            else if (n >= 1 && n <= 4)
                fields[n].push_back(c);
        }
        int32_t* const out[4] = {&table[static_cast<size_t>(k)].x, &table[static_cast<size_t>(k)].y,
                                 &table[static_cast<size_t>(k)].w,
                                 &table[static_cast<size_t>(k)].h};
        for (int f = 0; f < 4; ++f) {
            // Fields beyond the reader's limit are refused there; leave them out of the oracle.
            if (fields[f + 1].size() > 64 * 1024) return false;
            const std::optional<int32_t> v = zefa::str_to_int(fields[f + 1]);
            if (!v) return false;
            *out[f] = *v;
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    SkinTable read{}, want{};
    for (size_t k = 0; k < read.size(); ++k)
        read[k] = want[k] = {-7, -7, -7, -7, 0};

    const bool ok = !zefa::read_skin_file(text, read).has_value();

    const bool want_ok = reference(text, want);
    if (ok != want_ok) throw std::logic_error("reader and reference disagree on success");
    for (size_t k = 0; k < read.size(); ++k) {
        const zefa::SkinElement& a = read[k];
        const zefa::SkinElement& b = want[k];
        if (a.x != b.x || a.y != b.y || a.w != b.w || a.h != b.h)
            throw std::logic_error("element " + std::to_string(k) + " differs");
    }
    for (size_t k = 22; k <= 24; ++k)
        if (read[k].x != -7) throw std::logic_error("element 22-24 written");
    return 0;
}
