#include "shell/path_text.h"
#include "shell/player.h"

namespace zefa {

// Each extension of the list starts with "." and is compared when the next "." or ";" is
// reached, so the last one counts only when a ";" follows it.
int32_t Player::ext_chk(int32_t which, const std::string& ext) {
    const std::string& types = which == 0 ? cfg.DropFileType : cfg.RealFileType;
    int32_t result = 0;
    std::string token;
    for (size_t p = 0; p <= types.size(); ++p) {
        const char c = p < types.size() ? types[p] : '\0';
        if ((c == '.' || c == ';') && p != 0) {
            if (!ext.empty() && iequal(token, ext)) result = 1;
            token.clear();
        }
        token.push_back(c);
    }
    return result;
}

} // namespace zefa
