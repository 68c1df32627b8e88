// What bounding a state change costs: the same change with and without its own thread.
#include "media_common/bounded_state.h"

#include <benchmark/benchmark.h>
#include <gst/gst.h>

namespace {

GstElement* pipeline() {
    static const bool ready = gst_init_check(nullptr, nullptr, nullptr);
    return ready ? gst_parse_launch("fakesrc ! fakesink", nullptr) : nullptr;
}

void BM_PlainUpAndDown(benchmark::State& state) {
    GstElement* p = pipeline();
    for (auto _ : state) {
        gst_element_set_state(p, GST_STATE_PAUSED);
        gst_element_set_state(p, GST_STATE_NULL);
    }
    gst_object_unref(p);
}
BENCHMARK(BM_PlainUpAndDown)->Unit(benchmark::kMicrosecond);

void BM_BoundedUpAndDown(benchmark::State& state) {
    GstElement* p = pipeline();
    for (auto _ : state) {
        zefa::media_common::set_state_within(p, GST_STATE_PAUSED, 5 * GST_SECOND);
        zefa::media_common::set_state_within(p, GST_STATE_NULL, 5 * GST_SECOND);
    }
    gst_object_unref(p);
}
BENCHMARK(BM_BoundedUpAndDown)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
