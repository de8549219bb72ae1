// asset_file.cpp: reads a whole asset file into memory through the platform's
// openRegularStream, which has already refused anything but a regular file.
#include "media/asset_file.h"

#include <memory>
#include <new>

namespace {

struct StreamCloser {
    void operator()(std::FILE* stream) const { std::fclose(stream); }
};
using StreamPtr = std::unique_ptr<std::FILE, StreamCloser>;

} // namespace

std::optional<std::vector<unsigned char>> readRegularFile(const char* path, std::size_t maxBytes) {
    const StreamPtr stream(openRegularStream(path));
    if (!stream || std::fseek(stream.get(), 0, SEEK_END) != 0) {
        return std::nullopt;
    }
    const long size = std::ftell(stream.get());
    if (size < 0 || static_cast<unsigned long>(size) > maxBytes ||
        std::fseek(stream.get(), 0, SEEK_SET) != 0) {
        return std::nullopt;
    }
    try {
        // Read to the end rather than trusting the size: the file may shrink or
        // grow meanwhile, and reading one byte past the limit tells which.
        std::vector<unsigned char> bytes(static_cast<std::size_t>(size) + 1);
        std::size_t filled = 0;
        while (true) {
            if (filled == bytes.size()) {
                if (bytes.size() > maxBytes) {
                    return std::nullopt;
                }
                bytes.resize(bytes.size() * 2);
            }
            const std::size_t got =
                std::fread(bytes.data() + filled, 1, bytes.size() - filled, stream.get());
            filled += got;
            if (got == 0) {
                break;
            }
        }
        if (std::ferror(stream.get()) != 0 || filled > maxBytes) {
            return std::nullopt;
        }
        bytes.resize(filled);
        return bytes;
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}
