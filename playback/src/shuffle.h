// The shuffle order table: a permutation of entry indices built by one pass of exchanges.
#pragma once

#include <cstdint>
#include <vector>

namespace velmo {

// The generator the C standard gives as its example of rand: values 0..32767 and, for a seed,
// the same sequence on every platform.
class Rand15 {
  public:
    explicit Rand15(uint32_t seed) : next_(seed) {}

    int32_t next() {
        next_ = next_ * 1103515245u + 12345u; // the low 32 bits are all the result depends on
        return static_cast<int32_t>((next_ / 65536u) % 32768u);
    }

  private:
    uint32_t next_;
};

// Entry i starts as i; then for i = 0 .. count - 1 entry i is exchanged with entry
// rand() % count. Not Fisher-Yates: the partner is drawn from the whole table (and, beyond
// 32768 entries, only from its first 32768 positions).
std::vector<int32_t> build_order(int32_t count, uint32_t seed);

} // namespace velmo
