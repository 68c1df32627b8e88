// Reading a movie from disk: bounded, and never blocking on something that is not a file.

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "swf/swf_reader.h"

namespace zefa::swf {

namespace {

// Closes the descriptor on every way out.
struct Fd {
    int fd;
    ~Fd() {
        if (fd >= 0) ::close(fd);
    }
};

} // namespace

ReadResult read_movie_file(const std::string& path, const Limits& limits) {
    // O_NONBLOCK so that opening a FIFO with no writer returns at once; the type check below
    // then refuses it.
    const Fd f{::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK)};
    if (f.fd < 0) return ReadResult{{}, "cannot open: " + std::string(std::strerror(errno))};
    struct stat st {};
    if (::fstat(f.fd, &st) != 0 || !S_ISREG(st.st_mode))
        return ReadResult{{}, "not a regular file"};
    // A compressed movie is never much larger than its uncompressed length.
    const uint64_t most = uint64_t{limits.max_file_length} + (uint64_t{1} << 20);
    if (static_cast<uint64_t>(st.st_size) > most)
        return ReadResult{{}, "the file is larger than " + std::to_string(most) + " bytes"};

    std::vector<uint8_t> bytes(static_cast<size_t>(st.st_size));
    size_t got = 0;
    while (got < bytes.size()) {
        const ssize_t n = ::read(f.fd, bytes.data() + got, bytes.size() - got);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return ReadResult{{}, "read error: " + std::string(std::strerror(errno))};
        if (n == 0) break; // the file shrank while we read it
        got += static_cast<size_t>(n);
    }
    bytes.resize(got);
    return read_movie(bytes, limits);
}

} // namespace zefa::swf
