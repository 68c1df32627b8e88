// What libvelmo.so shows the dynamic linker, and what it does when GStreamer cannot start.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <set>
#include <sstream>
#include <string>

namespace {

// Runs a shell command; returns its exit status and what it wrote.
std::pair<int, std::string> run(const std::string& command) {
    std::string output;
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (!pipe) return {-1, output};
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe))
        output += buffer;
    const int status = pclose(pipe);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}

TEST(Exports, AreExactlyTheLibraryInterface) {
    const auto [status, output] = run(std::string(VELMO_NM) + " -D --defined-only " VELMO_LIBRARY);
    ASSERT_EQ(status, 0) << output;
    std::set<std::string> names;
    std::istringstream symbols(output);
    for (std::string address, type, name; symbols >> address >> type >> name;) {
        EXPECT_EQ(type, "T") << name;
        names.insert(name);
    }
    EXPECT_EQ(names, (std::set<std::string>{"PLY", "DS_STOP", "DS_VIEW", "DS_ZOOM", "DS_W", "DS_H",
                                            "DS_RUN", "DS_PAUSE", "DS_LEN", "DS_POS", "DS_END",
                                            "DS_SEEK", "DS_KEY", "DS_INI_RAND", "DS_RET_RAND",
                                            "DS_RET_TNO", "DS_RAND_FREE", "DS_VOLUME"}));
}

TEST(Load, ProgramRunsWhenGStreamerInitialises) {
    const auto [status, output] = run(VELMO_LOAD_PROBE);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(output, "loaded\n");
}

TEST(Load, ProgramEndsWithTheReasonWhenGStreamerCannotInitialise) {
    // The preloaded stand-in fails gst_init_check with the reason "simulated failure".
    const auto [status, output] = run(
        "ASAN_OPTIONS=verify_asan_link_order=0 LD_PRELOAD=" VELMO_INIT_FAILS " " VELMO_LOAD_PROBE);
    EXPECT_EQ(status, 1);
    EXPECT_EQ(output, "VELMO: GStreamer を初期化できません: simulated failure\n");
}

} // namespace
