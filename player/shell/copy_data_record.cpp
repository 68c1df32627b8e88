#include "shell/copy_data_record.h"

#include <cstring>

namespace zefa {

std::string encode_copy_data(uint32_t dw_data, std::string_view path) {
    const uint32_t cb = static_cast<uint32_t>(path.size() + 1);
    std::string out(kCopyDataHeader, '\0');
    std::memcpy(out.data(), &dw_data, 4);
    std::memcpy(out.data() + 4, &cb, 4);
    out.append(path);
    out.push_back('\0');
    return out;
}

std::optional<CopyDataRecord> decode_copy_data(std::string_view bytes) {
    if (bytes.size() < kCopyDataHeader) return std::nullopt;
    CopyDataRecord r;
    uint32_t cb = 0;
    std::memcpy(&r.dw_data, bytes.data(), 4);
    std::memcpy(&cb, bytes.data() + 4, 4);
    if (cb < 1 || cb > kCopyDataMaxBytes) return std::nullopt;
    if (bytes.size() != kCopyDataHeader + cb) return std::nullopt;
    const std::string_view data = bytes.substr(kCopyDataHeader);
    const size_t nul = data.find('\0');
    if (nul == std::string_view::npos) return std::nullopt;
    r.path.assign(data.substr(0, nul));
    return r;
}

} // namespace zefa
