// audio_signal.h: sound for the audio tests. Test tones written as WAV files,
// SDL's disk audio driver set up to capture the real output, the console
// captured around quiet calls, and measurements over the captured samples.
//
// Each test process uses these for one test at a time, on the main thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace audiotest {

inline constexpr int RATE_HZ = 44100;             // the game's output rate, in Hz
inline constexpr int CHANNELS = 2;               // stereo, interleaved left/right
inline constexpr double FULL_SCALE = 32768.0;     // 16-bit full scale
inline constexpr std::size_t WINDOW_FRAMES = 882; // 20 ms analysis window at 44100 Hz

// Writes a 16-bit stereo WAV holding a sine of `hz`, `seconds` long, with peak
// `amplitude` (a fraction of full scale).
void writeToneWav(const std::filesystem::path& file, double hz, double seconds, double amplitude);

// The left channel of interleaved stereo samples, as fractions of full scale.
std::vector<double> leftChannel(std::span<const std::int16_t> interleaved);

// Amplitude of the `hz` component of `frames` (a full window of whole cycles
// gives the sine's peak exactly), by the Goertzel recurrence.
double toneAmplitude(std::span<const double> frames, double hz);

// Length, in frames, of the longest run in which no sample reaches `threshold`.
std::size_t longestQuietRun(std::span<const double> frames, double threshold);

// Index of the first frame reaching `threshold`, or frames.size() if none does.
std::size_t firstLoudFrame(std::span<const double> frames, double threshold);

// A temporary folder for the test's files, removed when the object goes.
class ScratchFolder {
  public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    std::filesystem::path file(const std::string& name) const { return path_ / name; }

  private:
    std::filesystem::path path_;
};

// Points SDL's disk driver at a capture file for this process and the
// programs it starts; set before the audio output is opened. `delayMs` is the
// driver's pause per mixed buffer, so a small one runs the output faster than
// real time; 0 leaves the driver's own, real-time pace.
class DiskCapture {
  public:
    DiskCapture(const std::filesystem::path& file, int delayMs);

    // Frames written so far.
    std::size_t frames() const;
    // Waits until at least `count` frames are written (failing the test after a
    // generous deadline), then returns all interleaved samples written so far.
    std::vector<std::int16_t> waitForFrames(std::size_t count) const;

  private:
    std::filesystem::path file_;
};

// Sends file descriptors 1 and 2 to a temporary file while alive, so that
// whatever any library writes, even with fprintf from another thread, is kept.
class ConsoleCapture {
  public:
    ConsoleCapture();
    ~ConsoleCapture();
    ConsoleCapture(const ConsoleCapture&) = delete;
    ConsoleCapture& operator=(const ConsoleCapture&) = delete;

    // Restores the console and returns all that was written meanwhile.
    std::string finish();

  private:
    int sink_ = -1;
    int savedOut_ = -1;
    int savedErr_ = -1;
};

} // namespace audiotest
