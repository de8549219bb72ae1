// asset_file.cpp: opens asset files without blocking and refuses anything that
// is not a regular file. The open itself passes O_NONBLOCK, because opening a
// FIFO for reading would otherwise wait for a writer that never comes; the
// type is then checked on the descriptor that is read, so nothing can be
// swapped in between the check and the read.
#include "media/asset_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <new>
#include <utility>

namespace {

constexpr int OPEN_FLAGS = O_RDONLY | O_NONBLOCK | O_CLOEXEC;

} // namespace

FileDescriptor::~FileDescriptor() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

FileDescriptor& FileDescriptor::operator=(FileDescriptor&& other) noexcept {
    if (this != &other) {
        FileDescriptor old(std::exchange(fd_, other.release()));
    }
    return *this;
}

int FileDescriptor::release() {
    return std::exchange(fd_, -1);
}

FileDescriptor openRegularFile(const char* path) {
    if (path == nullptr) {
        return {};
    }
    FileDescriptor file(::open(path, OPEN_FLAGS));
    struct stat status {};
    if (!file.valid() || ::fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode)) {
        return {};
    }
    return file;
}

std::optional<std::vector<unsigned char>> readRegularFile(const char* path, std::size_t maxBytes) {
    const FileDescriptor file = openRegularFile(path);
    struct stat status {};
    if (!file.valid() || ::fstat(file.get(), &status) != 0 ||
        static_cast<unsigned long long>(status.st_size) > maxBytes) {
        return std::nullopt;
    }
    try {
        // Read to the end rather than trusting the size: the file may shrink or
        // grow meanwhile, and reading one byte past the limit tells which.
        std::vector<unsigned char> bytes(static_cast<std::size_t>(status.st_size) + 1);
        std::size_t filled = 0;
        while (true) {
            if (filled == bytes.size()) {
                if (bytes.size() > maxBytes) {
                    return std::nullopt;
                }
                bytes.resize(bytes.size() * 2);
            }
            const ssize_t got = ::read(file.get(), bytes.data() + filled, bytes.size() - filled);
            if (got < 0 && errno == EINTR) {
                continue;
            }
            if (got < 0) {
                return std::nullopt;
            }
            if (got == 0) {
                break;
            }
            filled += static_cast<std::size_t>(got);
        }
        if (filled > maxBytes) {
            return std::nullopt;
        }
        bytes.resize(filled);
        return bytes;
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}
