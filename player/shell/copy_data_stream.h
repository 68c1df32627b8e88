#pragma once

// One hand-off record assembled from a connection's bytes as they arrive, in whatever pieces
// the socket hands them over. A connection carries exactly one record.

#include <cstddef>
#include <string>
#include <string_view>

#include "shell/copy_data_record.h"

namespace zefa {

class CopyDataStream {
  public:
    enum class State { more, record, refused };

    // Takes the next piece. Once the answer is record or refused it no longer changes.
    State feed(std::string_view piece);

    // The most bytes worth reading next: never more than a whole record plus one byte that
    // proves an overflow, so a sender cannot make the buffer grow.
    size_t room() const;

    State state() const { return state_; }
    const CopyDataRecord& record() const { return record_; }

  private:
    std::string buffer_;
    State state_ = State::more;
    CopyDataRecord record_;
};

} // namespace zefa
