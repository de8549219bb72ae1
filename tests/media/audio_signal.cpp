// audio_signal.cpp: test tones, the disk driver's capture, the console
// capture and the signal measurements used by the audio tests.
#include "tests/media/audio_signal.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <numbers>
#include <stdexcept>
#include <thread>

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

namespace audiotest {

namespace {

constexpr auto CAPTURE_DEADLINE = std::chrono::seconds(30);  // wall time allowed for a capture
constexpr auto CAPTURE_POLL = std::chrono::milliseconds(10); // between looks at its size
constexpr std::size_t BYTES_PER_FRAME = CHANNELS * sizeof(std::int16_t);

void putLittleEndian(std::ofstream& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.put(static_cast<char>((value >> (8 * i)) & 0xFFu));
    }
}

} // namespace

void writeToneWav(const std::filesystem::path& file, double hz, double seconds, double amplitude) {
    const auto frameCount = static_cast<std::uint32_t>(std::lround(seconds * RATE_HZ));
    const std::uint32_t dataBytes = frameCount * BYTES_PER_FRAME;
    std::ofstream out(file, std::ios::binary);
    out.write("RIFF", 4);
    putLittleEndian(out, 36 + dataBytes, 4);
    out.write("WAVEfmt ", 8);
    putLittleEndian(out, 16, 4); // format chunk size
    putLittleEndian(out, 1, 2);  // PCM
    putLittleEndian(out, CHANNELS, 2);
    putLittleEndian(out, RATE_HZ, 4);
    putLittleEndian(out, RATE_HZ * BYTES_PER_FRAME, 4); // bytes per second
    putLittleEndian(out, BYTES_PER_FRAME, 2);          // block align
    putLittleEndian(out, 16, 2);                     // bits per sample
    out.write("data", 4);
    putLittleEndian(out, dataBytes, 4);
    for (std::uint32_t i = 0; i < frameCount; ++i) {
        const double phase = 2.0 * std::numbers::pi * hz * i / RATE_HZ;
        const auto sample =
            static_cast<std::int16_t>(std::lround(amplitude * 32767.0 * std::sin(phase)));
        for (int c = 0; c < CHANNELS; ++c) {
            putLittleEndian(out, static_cast<std::uint16_t>(sample), 2);
        }
    }
}

std::vector<double> leftChannel(std::span<const std::int16_t> interleaved) {
    std::vector<double> left(interleaved.size() / CHANNELS);
    for (std::size_t i = 0; i < left.size(); ++i) {
        left[i] = interleaved[i * CHANNELS] / FULL_SCALE;
    }
    return left;
}

double toneAmplitude(std::span<const double> frames, double hz) {
    const double w = 2.0 * std::numbers::pi * hz / RATE_HZ;
    const double coefficient = 2.0 * std::cos(w);
    double previous = 0.0;
    double beforePrevious = 0.0;
    for (double x : frames) {
        const double current = x + coefficient * previous - beforePrevious;
        beforePrevious = previous;
        previous = current;
    }
    const double power = previous * previous + beforePrevious * beforePrevious -
                         coefficient * previous * beforePrevious;
    return 2.0 * std::sqrt(std::max(power, 0.0)) / static_cast<double>(frames.size());
}

std::size_t longestQuietRun(std::span<const double> frames, double threshold) {
    std::size_t longest = 0;
    std::size_t run = 0;
    for (double x : frames) {
        run = std::abs(x) < threshold ? run + 1 : 0;
        longest = std::max(longest, run);
    }
    return longest;
}

std::size_t firstLoudFrame(std::span<const double> frames, double threshold) {
    for (std::size_t i = 0; i < frames.size(); ++i) {
        if (std::abs(frames[i]) >= threshold) {
            return i;
        }
    }
    return frames.size();
}

ScratchFolder::ScratchFolder() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "quillory-audio-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot make a scratch folder");
    }
    path_ = pattern;
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

DiskCapture::DiskCapture(const std::filesystem::path& file, int delayMs) : file_(file) {
    std::filesystem::remove(file_);
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", file_.c_str(), 1);
    // Unset, not 0: SDL 2.26's Windows build reads every variable into one
    // shared buffer, so reading the delay would overwrite the file's name.
    if (delayMs > 0) {
        setenv("SDL_DISKAUDIODELAY", std::to_string(delayMs).c_str(), 1);
    } else {
        unsetenv("SDL_DISKAUDIODELAY");
    }
}

std::size_t DiskCapture::frames() const {
    std::error_code missing;
    const auto bytes = std::filesystem::file_size(file_, missing);
    return missing ? 0 : static_cast<std::size_t>(bytes) / BYTES_PER_FRAME;
}

std::vector<std::int16_t> DiskCapture::waitForFrames(std::size_t count) const {
    const auto deadline = std::chrono::steady_clock::now() + CAPTURE_DEADLINE;
    while (frames() < count && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(CAPTURE_POLL);
    }
    const std::size_t written = frames();
    EXPECT_GE(written, count) << "the disk driver stopped writing " << file_;
    std::vector<std::int16_t> samples(written * CHANNELS);
    std::ifstream in(file_, std::ios::binary);
    in.read(reinterpret_cast<char*>(samples.data()),
            static_cast<std::streamsize>(samples.size() * sizeof(std::int16_t)));
    return samples;
}

ConsoleCapture::ConsoleCapture() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "quillory-console-XXXXXX").string();
    sink_ = mkstemp(pattern.data());
    if (sink_ < 0) {
        throw std::runtime_error("cannot make a console capture file");
    }
    unlink(pattern.c_str());
    std::cout.flush();
    std::cerr.flush();
    std::fflush(nullptr);
    savedOut_ = dup(STDOUT_FILENO);
    savedErr_ = dup(STDERR_FILENO);
    dup2(sink_, STDOUT_FILENO);
    dup2(sink_, STDERR_FILENO);
}

ConsoleCapture::~ConsoleCapture() {
    if (sink_ >= 0) {
        finish();
    }
}

std::string ConsoleCapture::finish() {
    std::cout.flush();
    std::cerr.flush();
    std::fflush(nullptr);
    dup2(savedOut_, STDOUT_FILENO);
    dup2(savedErr_, STDERR_FILENO);
    close(savedOut_);
    close(savedErr_);
    std::string written;
    char buffer[4096];
    ssize_t got = 0;
    off_t offset = 0;
    while ((got = pread(sink_, buffer, sizeof buffer, offset)) > 0) {
        written.append(buffer, static_cast<std::size_t>(got));
        offset += got;
    }
    close(sink_);
    sink_ = -1;
    return written;
}

} // namespace audiotest
