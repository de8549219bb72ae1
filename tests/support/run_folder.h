// run_folder.h: a private copy of the game's run folder for one test.
//
// Owns a fresh temporary folder holding a copy of a run folder: by default the
// one the build lays out (images/, fonts/ and audio/); removed again when the
// object goes. Tests that start the game, or load assets by their relative
// paths, work in it.
#pragma once

#include <filesystem>
#include <string>

namespace testsupport {

class RunFolder {
public:
    // A copy of everything in `source`, by default the built run folder.
    explicit RunFolder(const std::filesystem::path& source = QUILLORY_RUN_DIR);
    ~RunFolder();
    RunFolder(const RunFolder&) = delete;
    RunFolder& operator=(const RunFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path file(const std::string& relative) const { return path_ / relative; }
    // Removes one file, e.g. "images/gameover.png".
    void remove(const std::string& relative) const;
    // Replaces one file's contents with `bytes`.
    void overwrite(const std::string& relative, const std::string& bytes) const;

private:
    std::filesystem::path path_;
};

// Makes the process's working directory `dir` for as long as the object lives.
class WorkingDirectory {
public:
    explicit WorkingDirectory(const std::filesystem::path& dir);
    ~WorkingDirectory();
    WorkingDirectory(const WorkingDirectory&) = delete;
    WorkingDirectory& operator=(const WorkingDirectory&) = delete;

private:
    std::filesystem::path previous_;
};

} // namespace testsupport
