// asset_file_posix.cpp: opens asset files on POSIX systems without blocking.
// The open passes O_NONBLOCK, because opening a FIFO for reading would
// otherwise wait for a writer that never comes; the type is then checked on the
// descriptor that is read, so nothing can be swapped in between check and read.
#include "media/asset_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int OPEN_FLAGS = O_RDONLY | O_NONBLOCK | O_CLOEXEC;

} // namespace

std::FILE* openRegularStream(const char* path) {
    if (path == nullptr) {
        return nullptr;
    }
    const int fd = ::open(path, OPEN_FLAGS);
    if (fd < 0) {
        return nullptr;
    }
    struct stat status {};
    std::FILE* stream = nullptr;
    if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode)) {
        stream = ::fdopen(fd, "rb");
    }
    if (stream == nullptr) {
        ::close(fd);
    }
    return stream;
}
