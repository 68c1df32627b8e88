#pragma once

// The desktop's media controls (media keys, the desktop's player applet) as the core sees
// them: requests it takes once per tick and turns into element states, and the state it
// reports back whenever it changed. The Qt port serves them over D-Bus.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace zefa {

enum class DesktopCommand {
    PlayPause,
    Play,  // starts or resumes, never pauses
    Pause, // pauses what plays, never starts
    Stop,
    Next,
    Previous,
    Seek,        // value: offset in microseconds
    SetPosition, // value: position in microseconds
    Open,        // path: a local file or playlist
    Raise,
    Quit,
    Volume,  // value: 0..100
    Repeat,  // value: 0 off, 1 on
    Shuffle, // value: 0 off, 1 on
};

struct DesktopRequest {
    DesktopCommand command = DesktopCommand::PlayPause;
    int64_t value = 0;
    std::string path;
};

enum class PlaybackStatus { Stopped, Playing, Paused };

struct DesktopState {
    PlaybackStatus status = PlaybackStatus::Stopped;
    std::string title;     // what the panel's title shows
    std::string path;      // the medium's file
    uint64_t medium = 0;   // changes with every medium started; 0 before the first
    int64_t length_us = 0; // 0 when unknown (a Flash movie counts frames)
    int64_t position_us = 0;
    int32_t volume = 0; // 0..100
    bool repeat = false;
    bool shuffle = false;
    bool has_entries = false;
    bool can_seek = false;
    bool picture_playing = false; // a medium with a picture plays, not paused

    bool operator==(const DesktopState&) const = default;
};

// At most this many requests wait between two ticks; the port drops what comes beyond.
constexpr size_t kDesktopQueueLimit = 64;

class DesktopPort {
  public:
    virtual ~DesktopPort() = default;
    // The requests since the last call, oldest first.
    virtual std::vector<DesktopRequest> take_requests() = 0;
    // What the player does now; called when it differs from the last report.
    virtual void report(const DesktopState& state) = 0;
};

} // namespace zefa
