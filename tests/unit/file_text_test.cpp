// The file services: reading only ordinary files of bounded size, replacing saves, and the
// clean-up of temporaries an interrupted save left behind.

#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <set>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include "bounded_child.h"
#include "config/file_text.h"
#include "harness.h"

namespace {

// Folder syncs seen while a test watches: what the saved file held at each.
std::vector<std::string>* folder_syncs = nullptr;
std::string synced_file;
bool fail_folder_syncs = false;

} // namespace

// Stands in for the C library's fsync in this test program, to see when a save syncs a folder.
extern "C" int fsync(int fd) {
    struct stat st {};
    if (folder_syncs && fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        std::string bytes;
        zefa::read_regular_file(synced_file, 1024, bytes);
        folder_syncs->push_back(bytes);
        if (fail_folder_syncs) {
            errno = EIO;
            return -1;
        }
    }
    return static_cast<int>(syscall(SYS_fsync, fd));
}

namespace zefa::test {
namespace {

struct Read {
    int err;
    std::string bytes;
};
Read read_file(const std::string& path, size_t max_bytes = 1 << 20) {
    Read r{0, "unchanged"};
    r.err = read_regular_file(path, max_bytes, r.bytes);
    return r;
}

// The error and size a read of the path gives in a child process, or "hung".
std::string bounded_read(const std::string& path) {
    return run_bounded([&] {
               const Read r = read_file(path);
               return std::to_string(r.err) + "/" + std::to_string(r.bytes.size());
           })
        .value_or("hung");
}

std::set<std::string> names_in(const TempDir& dir) {
    std::set<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir.path()))
        names.insert(e.path().filename().string());
    return names;
}

TEST(ReadRegularFile, OrdinaryFilesAreReadWholeUpToTheBound) {
    TempDir dir;
    std::string bytes(300000, '\0');
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>(i * 7 % 251);
    dir.write("a", bytes);
    EXPECT_EQ(read_file(dir.str() + "a", bytes.size()).bytes, bytes);
    const Read over = read_file(dir.str() + "a", bytes.size() - 1);
    EXPECT_EQ(over.err, EFBIG);
    EXPECT_EQ(over.bytes, "");
    std::filesystem::create_symlink(dir.str() + "a", dir.path() / "link");
    EXPECT_EQ(read_file(dir.str() + "link").bytes, bytes);
    dir.write("empty", "");
    EXPECT_EQ(read_file(dir.str() + "empty").err, 0);
    EXPECT_EQ(read_file(dir.str() + "empty").bytes, "");

    // Its size says 0: the bound holds while reading too.
    EXPECT_NE(read_file("/proc/self/status").bytes.find("Name:"), std::string::npos);
    EXPECT_EQ(read_file("/proc/self/status", 16).err, EFBIG);
}

TEST(ReadRegularFile, FoldersPipesAndDevicesAreRefusedAtOnce) {
    TempDir dir;
    EXPECT_EQ(bounded_read(dir.str() + "missing"), std::to_string(ENOENT) + "/0");
    EXPECT_EQ(bounded_read(dir.str()), std::to_string(EISDIR) + "/0");
    ASSERT_EQ(mkfifo((dir.str() + "pipe").c_str(), 0600), 0);
    EXPECT_EQ(bounded_read(dir.str() + "pipe"), std::to_string(EINVAL) + "/0") << "no writer";
    const int writer = open((dir.str() + "pipe").c_str(), O_RDWR | O_NONBLOCK);
    ASSERT_EQ(write(writer, "abc", 3), 3);
    EXPECT_EQ(bounded_read(dir.str() + "pipe"), std::to_string(EINVAL) + "/0") << "a writer";
    close(writer);
    std::filesystem::create_symlink("/dev/zero", dir.path() / "zero");
    EXPECT_EQ(bounded_read(dir.str() + "zero"), std::to_string(EINVAL) + "/0");
}

TEST(SaveReplacing, TheNewFileIsRenamedInAndThenItsFolderSynced) {
    TempDir dir;
    dir.write("zefa.hen", "old\n");
    std::filesystem::create_hard_link(dir.path() / "zefa.hen", dir.path() / "old-link");
    std::vector<std::string> syncs;
    folder_syncs = &syncs;
    synced_file = dir.str() + "zefa.hen";
    const bool saved = write_file_replacing(dir.str() + "zefa.hen", "new\n");
    folder_syncs = nullptr;
    EXPECT_TRUE(saved);
    EXPECT_EQ(dir.read("zefa.hen"), "new\n");
    EXPECT_EQ(dir.read("old-link"), "old\n") << "the old file was replaced, not rewritten";
    EXPECT_EQ(names_in(dir), (std::set<std::string>{"old-link", "zefa.hen"}));
    EXPECT_EQ(syncs, std::vector<std::string>{"new\n"}) << "one folder sync, after the rename";

    fail_folder_syncs = true; // the file is whole all the same
    folder_syncs = &syncs;
    const bool saved_again = write_file_replacing(dir.str() + "zefa.hen", "newer\n");
    folder_syncs = nullptr;
    fail_folder_syncs = false;
    EXPECT_TRUE(saved_again);
    EXPECT_EQ(dir.read("zefa.hen"), "newer\n");
}

TEST(StaleTemporaries, OnlyThoseOfOurOwnSavesAreRemoved) {
    TempDir dir;
    // A save killed part-way (here by the file-size limit) leaves its temporary behind.
    run_bounded([&] {
        const rlimit small{10, 10};
        setrlimit(RLIMIT_FSIZE, &small);
        signal(SIGXFSZ, SIG_DFL);
        write_file_replacing(dir.str() + "zefa.hen", std::string(100, 'x'));
        return std::string();
    });
    ASSERT_EQ(names_in(dir).size(), 1u);
    std::set<std::string> kept = {"zefa.hen",         "ZEFA.cfg",       "zefa.hen.bak",
                                  "zefa.hen.1234567", "zefa.hen.12345", "zefa.hen.ab-def",
                                  "zefa.henxAbCdEf",  "other.ABCDEF",   "ZEFA.CFG.ABCDEF"};
    for (const std::string& name : kept)
        dir.write(name, "keep");
    // Our pattern, but a folder and a link.
    std::filesystem::create_directory(dir.path() / "zefa.hen.folder");
    std::filesystem::create_symlink(dir.str() + "zefa.hen", dir.path() / "zefa.hen.link01");
    kept.insert({"zefa.hen.folder", "zefa.hen.link01"});
    dir.write("ZEFA.cfg.a1B2c3", "stale");
    dir.write("zefa.hen.Zz0099", "stale");

    EXPECT_EQ(remove_stale_temporaries(dir.str(), {"ZEFA.cfg", "zefa.hen"}), 3u);
    EXPECT_EQ(names_in(dir), kept);
    EXPECT_EQ(dir.read("zefa.hen"), "keep");
    EXPECT_EQ(remove_stale_temporaries(dir.str() + "missing/", {"zefa.hen"}), 0u);
}

} // namespace
} // namespace zefa::test
