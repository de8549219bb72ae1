// asset_file.h: opening the game's asset files so that only regular files are read.
//
// Owns nothing beyond the descriptor or bytes it hands back. The PNG loader, the
// glyph font and the audio layer open every asset through it, at start-up or on
// worker threads; a FIFO, device or directory in an asset's place fails at once,
// as a missing file does, instead of blocking start-up for ever.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

// One open file descriptor, closed when the object goes.
class FileDescriptor {
  public:
    FileDescriptor() = default;
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor();
    FileDescriptor(FileDescriptor&& other) noexcept : fd_(other.release()) {}
    FileDescriptor& operator=(FileDescriptor&& other) noexcept;
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    bool valid() const { return fd_ >= 0; }
    int get() const { return fd_; }
    // Hands the descriptor over to the caller, who closes it; this object then holds none.
    int release();

  private:
    int fd_ = -1;
};

// Opens `path` for reading when it names a regular file (after symbolic links);
// an invalid descriptor when it is missing, unreadable or anything else. Never blocks.
FileDescriptor openRegularFile(const char* path);

// The whole contents of `path` when it is a regular file of at most `maxBytes`;
// empty when it is not, cannot be read, or is larger. Never throws, never blocks.
std::optional<std::vector<unsigned char>> readRegularFile(const char* path, std::size_t maxBytes);
