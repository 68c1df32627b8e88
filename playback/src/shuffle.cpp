#include "shuffle.h"

#include "velmo.h"

#include <ctime>
#include <new>
#include <utility>

namespace velmo {
namespace {

std::vector<int32_t> table; // empty at load, after DS_RAND_FREE and after a count below 1

} // namespace

std::vector<int32_t> build_order(int32_t count, uint32_t seed) {
    std::vector<int32_t> order(static_cast<std::size_t>(count));
    for (int32_t i = 0; i < count; ++i)
        order[static_cast<std::size_t>(i)] = i;
    Rand15 rand(seed);
    for (int32_t i = 0; i < count; ++i)
        std::swap(order[static_cast<std::size_t>(i)],
                  order[static_cast<std::size_t>(rand.next() % count)]);
    return order;
}

} // namespace velmo

extern "C" VELMO_API int32_t DS_INI_RAND(int32_t count, int32_t fallback) {
    std::vector<int32_t>().swap(velmo::table);
    if (count < 1) return fallback;
    try {
        velmo::table = velmo::build_order(count, static_cast<uint32_t>(std::time(nullptr)));
    } catch (const std::bad_alloc&) {
        return fallback; // the table stays empty
    }
    return velmo::table.front();
}

extern "C" VELMO_API int32_t DS_RET_RAND(int32_t position) {
    const auto& table = velmo::table;
    if (table.empty()) return 0;
    const auto last = static_cast<int32_t>(table.size()) - 1;
    if (position > last) position = last;
    if (position < 0) position = 0;
    return table[static_cast<std::size_t>(position)];
}

extern "C" VELMO_API int32_t DS_RET_TNO(int32_t entry) {
    int32_t result = 0;
    const auto& table = velmo::table;
    for (std::size_t p = 0; p < table.size(); ++p)
        if (table[p] == entry) result = static_cast<int32_t>(p);
    return result;
}

extern "C" VELMO_API int32_t DS_RAND_FREE(void) {
    std::vector<int32_t>().swap(velmo::table);
    return 0;
}
