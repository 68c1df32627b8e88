#include "media_common/plugin_warmup.h"

#include <gst/gst.h>

namespace zefa::media_common {

namespace {

// Containers, parsers, the decoders, and every sink the player may choose. A name this
// installation lacks is skipped.
constexpr const char* kPlugins[] = {"coreelements", "typefindfunctions",
                                    "playback",     "isomp4",
                                    "matroska",     "avi",
                                    "libav",        "videoparsersbad",
                                    "audioparsers", "videoconvertscale",
                                    "videoconvert", "videoscale",
                                    "ximagesink",   "xvimagesink",
                                    "audioconvert", "audioresample",
                                    "volume",       "pulseaudio",
                                    "alsa"};

void load_plugins() {
    if (!gst_is_initialized()) return;
    GstRegistry* registry = gst_registry_get();
    for (const char* name : kPlugins) {
        GstPlugin* plugin = gst_registry_find_plugin(registry, name);
        if (!plugin) continue;
        if (GstPlugin* loaded = gst_plugin_load(plugin)) gst_object_unref(loaded);
        gst_object_unref(plugin);
    }
}

} // namespace

PluginWarmUp::PluginWarmUp() : thread_(load_plugins) {}

PluginWarmUp::~PluginWarmUp() {
    if (thread_.joinable()) thread_.join();
}

} // namespace zefa::media_common
