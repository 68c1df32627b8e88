#include "swf/swf_sound_output.h"

#include <gst/app/gstappsrc.h>

#include "media_common/bounded_state.h"

#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

namespace zefa {
namespace {

// Longest the UI thread waits for one pipeline to change state; a pipeline that takes longer
// (a sound server that does not answer) is given up and brought down in the background.
constexpr GstClockTime kStateTimeout = 500 * GST_MSECOND;

// The MP3 decoder this system has, or null: then MP3 sound stays silent.
const char* mp3_decoder() {
    static const char* const name = []() -> const char* {
        for (const char* candidate : {"mpg123audiodec", "avdec_mp3"}) {
            if (GstElementFactory* f = gst_element_factory_find(candidate)) {
                gst_object_unref(f);
                return candidate;
            }
        }
        return nullptr;
    }();
    return name;
}

GstClockTime frames_to_time(uint64_t frames, int rate) {
    return gst_util_uint64_scale(frames, GST_SECOND, static_cast<uint64_t>(rate));
}

// Drops the first samples an MP3 decoder gives (its start-up delay, which the movie states)
// and moves the rest back by as much, so the sound starts at once. Runs on the streaming
// thread after the conversion to interleaved 16-bit.
struct Skip {
    uint64_t frames_left = 0;
    uint64_t frames = 0;
    GstClockTime shift = GST_CLOCK_TIME_NONE; // known once the caps are
    size_t frame_bytes = 0;
    int rate = 0;
};

GstPadProbeReturn skip_start(GstPad* pad, GstPadProbeInfo* info, gpointer data) {
    auto* skip = static_cast<Skip*>(data);
    if (skip->frame_bytes == 0) {
        GstCaps* caps = gst_pad_get_current_caps(pad);
        if (!caps) return GST_PAD_PROBE_OK;
        int channels = 0;
        const GstStructure* s = gst_caps_get_structure(caps, 0);
        gst_structure_get_int(s, "channels", &channels);
        gst_structure_get_int(s, "rate", &skip->rate);
        gst_caps_unref(caps);
        if (channels < 1 || skip->rate < 1) return GST_PAD_PROBE_OK;
        skip->frame_bytes = 2 * static_cast<size_t>(channels);
        skip->shift = frames_to_time(skip->frames, skip->rate);
    }
    GstBuffer* buffer = GST_PAD_PROBE_INFO_BUFFER(info);
    const uint64_t frames = gst_buffer_get_size(buffer) / skip->frame_bytes;
    if (skip->frames_left >= frames) {
        skip->frames_left -= frames;
        return GST_PAD_PROBE_DROP;
    }
    buffer = gst_buffer_make_writable(buffer);
    if (skip->frames_left > 0) {
        const GstClockTime cut = frames_to_time(skip->frames_left, skip->rate);
        gst_buffer_resize(buffer, static_cast<gssize>(skip->frames_left * skip->frame_bytes), -1);
        if (GST_BUFFER_PTS_IS_VALID(buffer)) GST_BUFFER_PTS(buffer) += cut;
        if (GST_BUFFER_DURATION_IS_VALID(buffer))
            GST_BUFFER_DURATION(buffer) -= std::min(cut, GST_BUFFER_DURATION(buffer));
        skip->frames_left = 0;
    }
    if (GST_BUFFER_PTS_IS_VALID(buffer))
        GST_BUFFER_PTS(buffer) -= std::min(skip->shift, GST_BUFFER_PTS(buffer));
    GST_PAD_PROBE_INFO_DATA(info) = buffer;
    return GST_PAD_PROBE_OK;
}

// An event sound's data, pushed once per loop as the source asks for more; only the
// streaming thread touches it.
struct Feeder {
    GstBuffer* pass = nullptr; // one play of the sound
    uint64_t loops_left = 0;
    uint64_t pass_frames = 0; // raw sound: for timestamps; 0 for MP3, which the parser times
    int rate = 0;
    uint64_t played = 0;
    bool ended = false;
};

void feed(GstAppSrc* src, guint, gpointer data) {
    auto* f = static_cast<Feeder*>(data);
    if (f->loops_left == 0) {
        if (!f->ended) gst_app_src_end_of_stream(src);
        f->ended = true;
        return;
    }
    --f->loops_left;
    GstBuffer* buffer = gst_buffer_copy(f->pass); // shares the memory
    if (f->pass_frames > 0) {
        GST_BUFFER_PTS(buffer) = frames_to_time(f->played * f->pass_frames, f->rate);
        GST_BUFFER_DURATION(buffer) = frames_to_time(f->pass_frames, f->rate);
    }
    ++f->played;
    gst_app_src_push_buffer(src, buffer);
}

void free_feeder(gpointer data) {
    auto* f = static_cast<Feeder*>(data);
    gst_buffer_unref(f->pass);
    delete f;
}

GstBuffer* buffer_of(const void* data, size_t size) {
    return gst_buffer_new_memdup(data, size);
}

} // namespace

struct SoundOutput::Line {
    GstElement* pipeline = nullptr;
    GstElement* src = nullptr; // owned by the pipeline
    GstElement* volume = nullptr;
    GstBus* bus = nullptr;
    bool mp3 = false;
    int rate = 0;
    bool given_up = false; // a state change took too long: the background owns its state
};

void SoundOutput::LineDeleter::operator()(Line* line) const {
    if (!line->given_up)
        media_common::set_state_within(line->pipeline, GST_STATE_NULL, kStateTimeout);
    gst_object_unref(line->bus);
    gst_object_unref(line->pipeline);
    delete line;
}

GstElement* SoundOutput::remembered_audio_sink() {
    static std::optional<std::string> chosen; // a device sink's factory; empty: the fakesink
    if (!chosen) {
        GstElement* sink = media_common::audio_sink();
        GstElementFactory* factory = sink ? gst_element_get_factory(sink) : nullptr;
        const std::string name = factory ? GST_OBJECT_NAME(factory) : "";
        chosen = name == "pulsesink" || name == "alsasink" ? name : "";
        return sink;
    }
    if (chosen->empty()) return media_common::clocked_fakesink();
    GstElement* sink = gst_element_factory_make(chosen->c_str(), nullptr);
    return sink ? GST_ELEMENT(gst_object_ref_sink(sink)) : media_common::clocked_fakesink();
}

SoundOutput::SoundOutput(SinkFactory make_sink) : make_sink_(std::move(make_sink)) {
    if (!gst_is_initialized()) gst_init(nullptr, nullptr);
}

SoundOutput::~SoundOutput() {
    clear();
}

SoundOutput::LinePtr SoundOutput::make_line(bool mp3, int rate, int channels, int skip_frames) {
    if (rate <= 0 || channels < 1 || channels > 2) return nullptr;
    const char* decoder = mp3 ? mp3_decoder() : nullptr;
    if (mp3 && !decoder) return nullptr;

    auto line = LinePtr(new Line);
    line->pipeline = GST_ELEMENT(gst_object_ref_sink(gst_pipeline_new(nullptr)));
    line->bus = gst_element_get_bus(line->pipeline);
    line->mp3 = mp3;
    line->rate = rate;
    GstBin* bin = GST_BIN(line->pipeline);

    std::vector<GstElement*> chain;
    const auto add = [&](const char* factory, const char* name = nullptr) {
        GstElement* e = gst_element_factory_make(factory, name);
        if (e) {
            gst_bin_add(bin, e);
            chain.push_back(e);
        }
        return e;
    };
    line->src = add("appsrc");
    GstElement* filter = nullptr;
    bool made = line->src != nullptr;
    if (mp3) made = made && add("mpegaudioparse") && add(decoder);
    // Interleaved 16-bit after the decoder, so the start can be cut by sample.
    made = made && add("audioconvert") && (filter = add("capsfilter")) && add("audioresample");
    made = made && (line->volume = add("volume", "volume")) && add("audioconvert");
    GstElement* sink = made && make_sink_ ? make_sink_() : nullptr;
    if (!sink) return nullptr;
    // Ours whether it came floating or not; the bin takes its own reference.
    if (g_object_is_floating(sink)) gst_object_ref_sink(sink);
    gst_bin_add(bin, sink);
    gst_object_unref(sink);
    chain.push_back(sink);

    GstCaps* caps =
        mp3 ? gst_caps_new_simple("audio/mpeg", "mpegversion", G_TYPE_INT, 1, "layer", G_TYPE_INT,
                                  3, nullptr)
            : gst_caps_new_simple("audio/x-raw", "format", G_TYPE_STRING, "S16LE", "layout",
                                  G_TYPE_STRING, "interleaved", "rate", G_TYPE_INT, rate,
                                  "channels", G_TYPE_INT, channels, nullptr);
    g_object_set(line->src, "caps", caps, "format", GST_FORMAT_TIME, nullptr);
    gst_caps_unref(caps);
    caps = gst_caps_new_simple("audio/x-raw", "format", G_TYPE_STRING, "S16LE", "layout",
                               G_TYPE_STRING, "interleaved", nullptr);
    g_object_set(filter, "caps", caps, nullptr);
    gst_caps_unref(caps);
    g_object_set(line->volume, "volume", volume_ / 100.0, nullptr);

    for (size_t i = 0; i + 1 < chain.size(); ++i)
        if (!gst_element_link(chain[i], chain[i + 1])) return nullptr;

    if (skip_frames > 0) {
        GstPad* pad = gst_element_get_static_pad(filter, "src");
        auto* skip = new Skip;
        skip->frames_left = skip->frames = static_cast<uint64_t>(skip_frames);
        gst_pad_add_probe(pad, GST_PAD_PROBE_TYPE_BUFFER, skip_start, skip,
                          [](gpointer p) { delete static_cast<Skip*>(p); });
        gst_object_unref(pad);
    }
    return line;
}

bool SoundOutput::start(Line& line) {
    // Opens the sink; the rest of the change finishes when the first data reaches the sink.
    const media_common::StateOutcome r = media_common::set_state_within(
        line.pipeline, paused_ ? GST_STATE_PAUSED : GST_STATE_PLAYING, kStateTimeout);
    line.given_up = r.late_done != nullptr;
    return r.result != GST_STATE_CHANGE_FAILURE;
}

void SoundOutput::stream_block(uint32_t stream, const swf::StreamHead& head,
                               std::span<const uint8_t> block) {
    reap();
    if (!head.format.playable()) return; // Nellymoser, Speex and unknown codes stay silent
    const std::optional<swf::StreamBlock> b = swf::decode_stream_block(head.format, block);
    if (!b) return;

    auto it = streams_.find(stream);
    if (it != streams_.end() && !(it->second.head == head)) {
        streams_.erase(it);
        it = streams_.end();
    }
    if (it == streams_.end()) {
        if (streams_.size() >= kMaxStreams) return;
        Stream s;
        s.head = head;
        const bool mp3 = head.format.code == swf::kSoundMp3;
        s.line =
            make_line(mp3, head.format.rate, head.format.channels(), mp3 ? head.latency_seek : 0);
        if (s.line && !start(*s.line)) s.line.reset();
        it = streams_.emplace(stream, std::move(s)).first;
    }
    Stream& s = it->second;
    if (!s.line) return;

    GstBuffer* buffer = nullptr;
    if (s.line->mp3) {
        if (b->data.empty()) return;
        buffer = buffer_of(b->data.data(), b->data.size());
    } else {
        const std::vector<int16_t> samples =
            swf::decode_samples(head.format, b->data, swf::kMaxBlockFrames);
        if (samples.empty()) return;
        const uint64_t frames = samples.size() / size_t(head.format.channels());
        buffer = buffer_of(samples.data(), samples.size() * sizeof(int16_t));
        // Continuing from what went before, so a late block does not leave a gap.
        GST_BUFFER_PTS(buffer) = frames_to_time(s.frames, s.line->rate);
        GST_BUFFER_DURATION(buffer) = frames_to_time(frames, s.line->rate);
        s.frames += frames;
    }
    gst_app_src_push_buffer(GST_APP_SRC(s.line->src), buffer);
}

void SoundOutput::stream_stop(uint32_t stream) {
    reap();
    streams_.erase(stream);
}

void SoundOutput::start_sound(const swf::SoundDef& sound, const swf::SoundInfo& info) {
    reap();
    const auto same = [&](const Event& e) { return e.id == sound.id; };
    if (info.sync_stop) {
        std::erase_if(events_, same);
        return;
    }
    if (!sound.format.playable()) return;
    if (info.no_multiple && std::any_of(events_.begin(), events_.end(), same)) return;

    const bool mp3 = sound.format.code == swf::kSoundMp3;
    GstBuffer* pass = nullptr;
    uint64_t pass_frames = 0;
    int channels = sound.format.channels();
    if (mp3) {
        if (sound.data.empty()) return;
        pass = buffer_of(sound.data.data(), sound.data.size());
        pass_frames = sound.sample_count;
    } else {
        std::optional<swf::Pcm> pcm = swf::decode_sound(sound);
        if (!pcm) return;
        swf::apply_sound_info(*pcm, info);
        if (pcm->samples.empty()) return;
        channels = pcm->channels;
        pass_frames = pcm->frames();
        pass = buffer_of(pcm->samples.data(), pcm->samples.size() * sizeof(int16_t));
    }
    // Long loops of a short sound are fine; only the total time is bounded.
    const uint64_t most = kMaxLoopSeconds * static_cast<uint64_t>(sound.format.rate);
    const uint64_t wanted = std::max<uint64_t>(info.loops, 1);
    const uint64_t loops =
        pass_frames > 0 ? std::min(wanted, std::max<uint64_t>(most / pass_frames, 1)) : 1;

    LinePtr line = make_line(mp3, sound.format.rate, channels, mp3 ? sound.seek_samples : 0);
    if (!line) {
        gst_buffer_unref(pass);
        return;
    }
    auto* feeder = new Feeder;
    feeder->pass = pass;
    feeder->loops_left = loops;
    feeder->pass_frames = mp3 ? 0 : pass_frames;
    feeder->rate = sound.format.rate;
    GstAppSrcCallbacks callbacks{};
    callbacks.need_data = feed;
    gst_app_src_set_callbacks(GST_APP_SRC(line->src), &callbacks, feeder, free_feeder);

    if (events_.size() >= kMaxEvents) events_.pop_front();
    if (!start(*line)) return;
    events_.push_back({sound.id, std::move(line)});
}

void SoundOutput::stop_all() {
    events_.clear();
    streams_.clear(); // a stream still playing starts again with its next block
}

void SoundOutput::pause(bool paused) {
    reap();
    paused_ = paused;
    for (auto& [key, s] : streams_)
        if (s.line && !start(*s.line)) s.line.reset();
    std::erase_if(events_, [this](Event& e) { return !start(*e.line); });
}

void SoundOutput::set_volume(int percent) {
    volume_ = std::clamp(percent, 0, 100);
    const auto apply = [this](Line& line) {
        g_object_set(line.volume, "volume", volume_ / 100.0, nullptr);
    };
    for (auto& [key, s] : streams_)
        if (s.line) apply(*s.line);
    for (Event& e : events_)
        apply(*e.line);
}

void SoundOutput::clear() {
    stop_all();
}

void SoundOutput::tick() {
    reap();
}

size_t SoundOutput::streams() const {
    return static_cast<size_t>(std::count_if(streams_.begin(), streams_.end(),
                                             [](const auto& s) { return !!s.second.line; }));
}

size_t SoundOutput::events() const {
    return events_.size();
}

size_t SoundOutput::events(uint16_t id) const {
    return static_cast<size_t>(
        std::count_if(events_.begin(), events_.end(), [id](const Event& e) { return e.id == id; }));
}

void SoundOutput::reap() {
    // Popping with a filter also drops the other messages, so the buses never fill up.
    const auto finished = [](GstBus* bus) {
        bool done = false;
        while (GstMessage* m = gst_bus_pop_filtered(
                   bus, static_cast<GstMessageType>(GST_MESSAGE_EOS | GST_MESSAGE_ERROR))) {
            done = true;
            gst_message_unref(m);
        }
        return done;
    };
    std::erase_if(events_, [&](const Event& e) { return finished(e.line->bus); });
    for (auto& [key, s] : streams_)
        if (s.line && finished(s.line->bus)) s.line.reset(); // silent until stopped
}

} // namespace zefa
