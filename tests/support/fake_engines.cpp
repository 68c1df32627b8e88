#include "fake_engines.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace zefa::test {

namespace {

FakeVelmo* g_fake = nullptr;

FakeVelmo& fake(const char* call) {
    g_fake->calls.emplace_back(call);
    return *g_fake;
}

const VelmoApi kApi = {
    [](uintptr_t, const char* path) -> int32_t {
        FakeVelmo& f = fake("PLY");
        f.calls.back() += std::string(" ") + path;
        const bool bad =
            std::find(f.unplayable.begin(), f.unplayable.end(), path) != f.unplayable.end();
        return bad ? -2147220891 : 1; // VELMO_E_UNSUPPORTED
    },
    []() -> int32_t { return fake("DS_STOP"), 1; },
    [](int32_t) -> int32_t { return fake("DS_VIEW"), 0; },
    [](int32_t, int32_t) -> int32_t { return fake("DS_ZOOM"), 1; },
    []() -> int32_t { return fake("DS_W").w; },
    []() -> int32_t { return fake("DS_H").h; },
    []() -> int32_t { return fake("DS_RUN"), 0; },
    []() -> int32_t { return fake("DS_PAUSE"), 0; },
    []() -> int32_t { return fake("DS_LEN").len; },
    []() -> int32_t { return fake("DS_POS").pos; },
    []() -> int32_t {
        FakeVelmo& f = fake("DS_END");
        return std::exchange(f.end_result, 0);
    },
    [](int32_t mode, int32_t amount) -> int32_t {
        FakeVelmo& f = fake("DS_SEEK");
        f.calls.back() += " " + std::to_string(mode) + " " + std::to_string(amount);
        // The library clamps into the clip and answers the new position.
        const int64_t from = mode == 0 ? 0 : f.pos;
        f.pos = static_cast<int32_t>(
            std::clamp<int64_t>(from + (mode < 0 ? -int64_t{amount} : amount), 0, f.len));
        return f.pos;
    },
    []() -> int32_t {
        FakeVelmo& f = fake("DS_KEY");
        if (f.key_results.empty()) return 0;
        const int32_t r = f.key_results.front();
        f.key_results.erase(f.key_results.begin());
        return r;
    },
    [](int32_t count, int32_t fallback) -> int32_t {
        FakeVelmo& f = fake("DS_INI_RAND");
        f.calls.back() += " " + std::to_string(count) + " " + std::to_string(fallback);
        return f.ini_rand_result;
    },
    [](int32_t position) -> int32_t {
        const std::vector<int32_t>& order = fake("DS_RET_RAND").order;
        if (order.empty()) return 0;
        return order[static_cast<size_t>(
            std::clamp<int32_t>(position, 0, static_cast<int32_t>(order.size()) - 1))];
    },
    [](int32_t entry) -> int32_t {
        const std::vector<int32_t>& order = fake("DS_RET_TNO").order;
        const auto at = std::find(order.rbegin(), order.rend(), entry);
        return at == order.rend() ? 0 : static_cast<int32_t>(order.rend() - at - 1);
    },
    [](int32_t percent) -> int32_t {
        fake("DS_VOLUME").calls.back() += " " + std::to_string(percent);
        return 0;
    },
};

} // namespace

FakeVelmo::FakeVelmo() {
    if (g_fake) throw std::logic_error("one FakeVelmo at a time");
    g_fake = this;
}

FakeVelmo::~FakeVelmo() {
    g_fake = nullptr;
}

const VelmoApi& FakeVelmo::api() const {
    return kApi;
}

int FakeVelmo::count(const std::string& call) const {
    return static_cast<int>(std::count_if(calls.begin(), calls.end(), [&](const std::string& c) {
        return c == call || c.rfind(call + " ", 0) == 0;
    }));
}

} // namespace zefa::test
