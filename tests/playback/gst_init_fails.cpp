// Preloaded into load_probe: GStreamer initialisation that fails with a known reason.
#include <gst/gst.h>

extern "C" __attribute__((visibility("default"))) gboolean gst_init_check(int*, char***,
                                                                          GError** error) {
    g_set_error_literal(error, GST_CORE_ERROR, GST_CORE_ERROR_FAILED, "simulated failure");
    return FALSE;
}
