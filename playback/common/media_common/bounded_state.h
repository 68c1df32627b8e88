// State changes that cannot hold up the caller for good. Bringing a pipeline down waits for
// its streaming threads, and bringing it up opens sinks and sources; a thread stuck in a
// decoder or a device would otherwise hang the UI thread with it.
#pragma once

#include <gst/gst.h>

#include <atomic>
#include <memory>

namespace zefa::media_common {

struct StateOutcome {
    GstStateChangeReturn result = GST_STATE_CHANGE_FAILURE;
    // Null when the change finished in time. Otherwise it goes on in the background: the
    // element now belongs to it (it is brought to NULL there, and the background's reference
    // dropped), the caller must not touch its state again and may only drop its own
    // references, and this flag turns true once everything there is done.
    std::shared_ptr<const std::atomic<bool>> late_done;
};

// Runs gst_element_set_state on a thread of its own and waits at most timeout for it.
StateOutcome set_state_within(GstElement* element, GstState state, GstClockTime timeout);

} // namespace zefa::media_common
