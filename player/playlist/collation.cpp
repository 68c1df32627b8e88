#include "playlist/collation.h"

#include <algorithm>
#include <clocale>
#include <cstdint>
#include <cstring>

namespace zefa {

namespace {

// In the C locale the collation is the byte order, and the keys would only be copies.
bool byte_order_collation() {
    const char* name = std::setlocale(LC_COLLATE, nullptr);
    return name == nullptr || std::strcmp(name, "C") == 0 || std::strcmp(name, "POSIX") == 0;
}

struct Keyed {
    std::string key;
    uint32_t index;
};

// The key of the text, built in scratch (kept between calls so that its room is reused) and
// copied out at its size. Keys run to about seven times the text in multi-level collations.
std::string transform(const std::string& text, std::string& scratch) {
    if (scratch.size() < text.size() * 8 + 32) scratch.resize(text.size() * 8 + 32);
    size_t n = std::strxfrm(scratch.data(), text.c_str(), scratch.size());
    if (n >= scratch.size()) {
        scratch.resize(n + 1);
        n = std::strxfrm(scratch.data(), text.c_str(), scratch.size());
    }
    return scratch.substr(0, std::min(n, scratch.size()));
}

} // namespace

std::string collation_key(const std::string& text) {
    std::string scratch;
    return transform(text, scratch);
}

void collate_sort(std::vector<std::string>& items, size_t lo, size_t hi) {
    if (items.empty()) return;
    hi = std::min(hi, items.size() - 1);
    if (lo >= hi) return;
    const auto first = items.begin() + static_cast<std::ptrdiff_t>(lo);
    const auto last = items.begin() + static_cast<std::ptrdiff_t>(hi) + 1;
    if (byte_order_collation()) {
        std::sort(first, last);
        return;
    }

    // One key per entry instead of a collation call per comparison.
    std::vector<Keyed> keyed;
    keyed.reserve(hi - lo + 1);
    std::string scratch;
    for (size_t i = lo; i <= hi; ++i)
        keyed.push_back({transform(items[i], scratch), static_cast<uint32_t>(i - lo)});
    std::sort(keyed.begin(), keyed.end(), [&](const Keyed& a, const Keyed& b) {
        if (const int c = a.key.compare(b.key); c != 0) return c < 0;
        return first[a.index] < first[b.index];
    });

    std::vector<std::string> sorted;
    sorted.reserve(keyed.size());
    for (const Keyed& k : keyed)
        sorted.push_back(std::move(first[k.index]));
    std::move(sorted.begin(), sorted.end(), first);
}

} // namespace zefa
