// asset_file_win32.cpp: opens asset files on Windows, in binary mode (text mode
// would turn the PNGs' and the MP3's CR LF bytes into LF) and refusing devices
// such as CON or NUL and anything else that is not a regular file. A screen
// picture is read in the player's language where it comes in that language.
#include "media/asset_file.h"
#include "media/picture_language.h"

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

namespace {

constexpr int OPEN_FLAGS = _O_RDONLY | _O_BINARY | _O_NOINHERIT;

} // namespace

std::FILE* openRegularStream(const char* path) {
    if (path == nullptr) {
        return nullptr;
    }
    const int fd = ::_open(pictureInPlayersLanguage(path).c_str(), OPEN_FLAGS);
    if (fd < 0) {
        return nullptr;
    }
    struct _stat64 status {};
    std::FILE* stream = nullptr;
    if (::_fstat64(fd, &status) == 0 && (status.st_mode & _S_IFMT) == _S_IFREG) {
        stream = ::_fdopen(fd, "rb");
    }
    if (stream == nullptr) {
        ::_close(fd);
    }
    return stream;
}
