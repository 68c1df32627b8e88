#include "media_common/bounded_state.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace zefa::media_common {
namespace {

struct Job {
    GstElement* element; // a reference of the job's own
    GstState state;
    std::mutex mutex;
    std::condition_variable finished_cv;
    bool finished = false;
    bool abandoned = false;
    GstStateChangeReturn result = GST_STATE_CHANGE_FAILURE;
    std::shared_ptr<std::atomic<bool>> late_done = std::make_shared<std::atomic<bool>>(false);
};

void run(const std::shared_ptr<Job>& job) {
    const GstStateChangeReturn result = gst_element_set_state(job->element, job->state);
    std::unique_lock lock(job->mutex);
    job->finished = true;
    job->result = result;
    if (!job->abandoned) {
        // The waiting caller holds a reference too, so this is never the last; dropped before
        // the caller wakes, so it sees only its own.
        gst_object_unref(job->element);
        job->finished_cv.notify_all();
        return;
    }
    lock.unlock();
    gst_element_set_state(job->element, GST_STATE_NULL);
    gst_object_unref(job->element);
    job->late_done->store(true);
}

} // namespace

StateOutcome set_state_within(GstElement* element, GstState state, GstClockTime timeout) {
    auto job = std::make_shared<Job>();
    job->element = GST_ELEMENT(gst_object_ref(element));
    job->state = state;
    std::thread([job] { run(job); }).detach();
    std::unique_lock lock(job->mutex);
    if (job->finished_cv.wait_for(lock, std::chrono::nanoseconds(timeout),
                                  [&] { return job->finished; }))
        return {job->result, nullptr};
    job->abandoned = true;
    return {GST_STATE_CHANGE_FAILURE, job->late_done};
}

} // namespace zefa::media_common
