#include "shell/copy_data_stream.h"

#include <cstdint>
#include <cstring>
#include <optional>

namespace zefa {

namespace {

constexpr size_t kMaxRecord = kCopyDataHeader + kCopyDataMaxBytes;

} // namespace

size_t CopyDataStream::room() const {
    return state_ == State::more ? kMaxRecord + 1 - buffer_.size() : 0;
}

CopyDataStream::State CopyDataStream::feed(std::string_view piece) {
    if (state_ != State::more) return state_;
    if (piece.size() > kMaxRecord - buffer_.size()) return state_ = State::refused;
    buffer_.append(piece);
    if (buffer_.size() < kCopyDataHeader) return state_;
    uint32_t cb = 0;
    std::memcpy(&cb, buffer_.data() + 4, 4);
    // A length beyond the largest record is refused at once, before its bytes arrive.
    if (cb > kCopyDataMaxBytes) return state_ = State::refused;
    const size_t want = kCopyDataHeader + cb;
    if (buffer_.size() < want) return state_;
    if (buffer_.size() > want) return state_ = State::refused; // bytes beyond the record
    const std::optional<CopyDataRecord> r = decode_copy_data(buffer_);
    buffer_.clear();
    if (!r) return state_ = State::refused;
    record_ = *r;
    return state_ = State::record;
}

} // namespace zefa
