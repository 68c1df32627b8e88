#include "shell/command_line.h"

namespace zefa {

#ifndef ZEFA_VERSION
#define ZEFA_VERSION "unknown"
#endif

CommandLineRequest read_command_line(const std::string& first_argument,
                                     const std::function<bool(const std::string&)>& exists) {
    if (first_argument != "--help" && first_argument != "--version")
        return CommandLineRequest::Play;
    if (exists(first_argument)) return CommandLineRequest::Play; // a file of that name plays
    return first_argument == "--help" ? CommandLineRequest::Help : CommandLineRequest::Version;
}

std::string usage_text() {
    return "Usage: zefa [FILE]\n"
           "Plays FILE (a video, a sound, a RealMedia clip, a Flash movie or a playlist), or\n"
           "the playlist of the last session when none is named. A ZEFA already running gets\n"
           "FILE and plays it; this one then ends.\n"
           "\n"
           "  --help     show this text and end\n"
           "  --version  show the version and end\n"
           "\n"
           "Settings (ZEFA.cfg) and the playlist (zefa.hen) live beside the program when its\n"
           "folder can be written to, otherwise in $XDG_CONFIG_HOME/zefa (~/.config/zefa).\n";
}

std::string version_text() {
    return std::string("ZEFA ") + ZEFA_VERSION + "\n";
}

} // namespace zefa
