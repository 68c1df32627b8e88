#include "preroll.h"

#include "log.h"
#include "velmo.h"

#include "media_common/bounded_state.h"

#include <string>

namespace velmo {
namespace {

constexpr const char* kStep = "gst_element_set_state(playbin, GST_STATE_PAUSED)";

int32_t report_error(GstMessage* message) {
    GError* error = nullptr;
    gchar* debug = nullptr;
    gst_message_parse_error(message, &error, &debug);
    int32_t code = code_for_error(error);
    std::string detail = GST_MESSAGE_SRC_NAME(message) ? GST_MESSAGE_SRC_NAME(message) : "?";
    detail += ": ";
    detail += error ? error->message : "unknown error";
    log_failure(code, kStep, detail.c_str());
    g_clear_error(&error);
    g_free(debug);
    return code;
}

} // namespace

int32_t code_for_error(const GError* error) {
    if (!error) return VELMO_E_FAIL;
    if (error->domain == GST_RESOURCE_ERROR) {
        switch (error->code) {
        case GST_RESOURCE_ERROR_NOT_FOUND:
        case GST_RESOURCE_ERROR_OPEN_READ:
        case GST_RESOURCE_ERROR_OPEN_READ_WRITE:
        case GST_RESOURCE_ERROR_READ:
        case GST_RESOURCE_ERROR_NOT_AUTHORIZED:
            return VELMO_E_NOT_FOUND;
        default:
            return VELMO_E_FAIL;
        }
    }
    if (error->domain == GST_STREAM_ERROR) {
        switch (error->code) {
        case GST_STREAM_ERROR_TYPE_NOT_FOUND:
        case GST_STREAM_ERROR_WRONG_TYPE:
        case GST_STREAM_ERROR_CODEC_NOT_FOUND:
        case GST_STREAM_ERROR_DECODE:
        case GST_STREAM_ERROR_DEMUX:
        case GST_STREAM_ERROR_FORMAT:
        case GST_STREAM_ERROR_NOT_IMPLEMENTED:
            return VELMO_E_UNSUPPORTED;
        default:
            return VELMO_E_FAIL;
        }
    }
    if (error->domain == GST_CORE_ERROR && error->code == GST_CORE_ERROR_MISSING_PLUGIN)
        return VELMO_E_UNSUPPORTED;
    return VELMO_E_FAIL;
}

int32_t preroll(GstElement* pipeline, GstBus* bus, GstClockTime timeout,
                std::shared_ptr<const std::atomic<bool>>& late) {
    const GstClockTime deadline = gst_util_get_timestamp() + timeout;
    zefa::media_common::StateOutcome paused =
        zefa::media_common::set_state_within(pipeline, GST_STATE_PAUSED, timeout);
    if (paused.late_done) {
        late = std::move(paused.late_done);
        log_failure(VELMO_E_TIMEOUT, kStep, "the state change did not return in time");
        return VELMO_E_TIMEOUT;
    }
    const GstStateChangeReturn change = paused.result;
    if (change == GST_STATE_CHANGE_FAILURE) {
        // The element that refused has normally posted why.
        if (GstMessage* message = gst_bus_pop_filtered(bus, GST_MESSAGE_ERROR)) {
            int32_t code = report_error(message);
            gst_message_unref(message);
            return code;
        }
        log_failure(VELMO_E_FAIL, kStep);
        return VELMO_E_FAIL;
    }
    if (change == GST_STATE_CHANGE_SUCCESS || change == GST_STATE_CHANGE_NO_PREROLL) return 1;

    for (;;) {
        GstClockTime now = gst_util_get_timestamp();
        GstMessage* message =
            now < deadline
                ? gst_bus_timed_pop_filtered(
                      bus, deadline - now,
                      static_cast<GstMessageType>(GST_MESSAGE_ERROR | GST_MESSAGE_ASYNC_DONE))
                : nullptr;
        if (!message) break;
        if (GST_MESSAGE_TYPE(message) == GST_MESSAGE_ERROR) {
            int32_t code = report_error(message);
            gst_message_unref(message);
            return code;
        }
        bool done = GST_MESSAGE_SRC(message) == GST_OBJECT(pipeline);
        gst_message_unref(message);
        if (done) return 1;
    }
    // A preroll that finished just as the wait ran out still counts.
    if (gst_element_get_state(pipeline, nullptr, nullptr, 0) == GST_STATE_CHANGE_SUCCESS) return 1;
    log_failure(VELMO_E_TIMEOUT, kStep, "no preroll within the time limit");
    return VELMO_E_TIMEOUT;
}

} // namespace velmo
