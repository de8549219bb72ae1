// run_folder.cpp: temporary run folders for tests.
#include "tests/support/run_folder.h"

#include <cstdlib>
#include <fstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace testsupport {

RunFolder::RunFolder(const fs::path& source) {
    std::string pattern = (fs::temp_directory_path() / "quillory-run-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot make a temporary run folder");
    }
    path_ = pattern;
    // Links stay links: the languages' run folders are relative links into
    // the English one, which then resolve inside the copy.
    fs::copy(source, path_, fs::copy_options::recursive | fs::copy_options::copy_symlinks);
}

RunFolder::~RunFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

void RunFolder::remove(const std::string& relative) const { fs::remove(path_ / relative); }

void RunFolder::overwrite(const std::string& relative, const std::string& bytes) const {
    std::ofstream out(path_ / relative, std::ios::binary | std::ios::trunc);
    out << bytes;
}

WorkingDirectory::WorkingDirectory(const fs::path& dir) : previous_(fs::current_path()) {
    fs::current_path(dir);
}

WorkingDirectory::~WorkingDirectory() {
    std::error_code ignored;
    fs::current_path(previous_, ignored);
}

} // namespace testsupport
