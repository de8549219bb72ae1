// music_asset_test.cpp: the committed background music. Decoded as the game
// decodes it, it lasts 30 to 60 s, peaks at or below -6 dBFS and runs from its
// end into its start with neither a silence nor a click; played in a loop
// through the real output, it comes round again sample for sample.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include <SDL2/SDL.h>
#include <SDL2/SDL_mixer.h>
#include <gtest/gtest.h>

#include "media/sound_player.h"
#include "tests/media/audio_signal.h"

namespace {

using namespace audiotest;

constexpr double shortestLoopS = 30.0;
constexpr double longestLoopS = 60.0;
constexpr double loudestPeakDbfs = -6.0;
constexpr double quietLevel = 0.001;                      // below -60 dBFS counts as silence
constexpr std::size_t maxGapFrames = rateHz / 50;         // 20 ms
constexpr std::size_t seamSpanFrames = rateHz / 10;       // looked at on each side of the seam
constexpr std::size_t neighbourhoodFrames = rateHz / 200; // 5 ms beside the seam
constexpr int fullSpeedDiskDelayMs = 1;                   // disk driver pause per 46 ms buffer

const std::filesystem::path musicAsset =
    std::filesystem::path(QUILLORY_SOURCE_DIR) / "assets/audio/backgroundmusic.mp3";

double toDbfs(double level) {
    return 20.0 * std::log10(level);
}

// Largest step between neighbouring frames of one channel, over [begin, end).
int largestStep(std::span<const std::int16_t> samples, std::size_t begin, std::size_t end) {
    int largest = 0;
    for (std::size_t frame = begin; frame + 1 < end; ++frame) {
        for (int c = 0; c < channels; ++c) {
            const int step = samples[(frame + 1) * channels + c] - samples[frame * channels + c];
            largest = std::max(largest, std::abs(step));
        }
    }
    return largest;
}

// The music decoded whole, through SDL_mixer's own MP3 decoder, at the output format.
class DecodedMusic {
  public:
    DecodedMusic() : chunk_(Mix_LoadWAV(musicAsset.c_str())) {}
    ~DecodedMusic() { Mix_FreeChunk(chunk_); }
    DecodedMusic(const DecodedMusic&) = delete;
    DecodedMusic& operator=(const DecodedMusic&) = delete;

    bool loaded() const { return chunk_ != nullptr; }
    std::span<const std::int16_t> samples() const {
        return {reinterpret_cast<const std::int16_t*>(chunk_->abuf),
                chunk_->alen / sizeof(std::int16_t)};
    }
    std::size_t frames() const { return samples().size() / channels; }

  private:
    Mix_Chunk* chunk_;
};

TEST(BackgroundMusic, IsAQuietLoopOfHalfAMinuteToAMinuteWithASmoothSeam) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_AUDIO), 0);
    ASSERT_EQ(Mix_OpenAudioDevice(rateHz, AUDIO_S16SYS, channels, 2048, nullptr, 0), 0);
    const DecodedMusic music;
    ASSERT_TRUE(music.loaded()) << musicAsset;
    const auto samples = music.samples();
    const std::size_t frames = music.frames();

    const double seconds = static_cast<double>(frames) / rateHz;
    int peak = 0;
    for (std::int16_t s : samples) {
        peak = std::max(peak, std::abs(static_cast<int>(s)));
    }
    const double peakDbfs = toDbfs(peak / fullScale);

    // The seam as it plays: the last 100 ms run on into the first 100 ms.
    std::vector<double> acrossSeam;
    for (std::size_t i = frames - seamSpanFrames; i < frames + seamSpanFrames; ++i) {
        const std::size_t frame = i % frames;
        acrossSeam.push_back(std::max(std::abs(samples[frame * channels] / fullScale),
                                      std::abs(samples[frame * channels + 1] / fullScale)));
    }
    const std::size_t seamGap = longestQuietRun(acrossSeam, quietLevel);
    int seamStep = 0;
    for (int c = 0; c < channels; ++c) {
        seamStep = std::max(seamStep, std::abs(samples[c] - samples[(frames - 1) * channels + c]));
    }
    const int innerStep = largestStep(samples, 0, frames);
    const int besideSeam = std::max(largestStep(samples, frames - neighbourhoodFrames, frames),
                                    largestStep(samples, 0, neighbourhoodFrames));

    RecordProperty("length_s", std::to_string(seconds));
    RecordProperty("peak_dbfs", std::to_string(peakDbfs));
    RecordProperty("seam_silent_run_frames", std::to_string(seamGap));
    RecordProperty("seam_step", std::to_string(seamStep));
    RecordProperty("largest_inner_step", std::to_string(innerStep));
    RecordProperty("largest_step_beside_seam", std::to_string(besideSeam));
    std::printf("background music: %.3f s (%zu frames), peak %.2f dBFS, longest silent run across "
                "the seam %zu frames, step across the seam %d, largest step inside %d, largest "
                "step within 5 ms of the seam %d\n",
                seconds, frames, peakDbfs, seamGap, seamStep, innerStep, besideSeam);

    EXPECT_GE(seconds, shortestLoopS);
    EXPECT_LE(seconds, longestLoopS);
    EXPECT_LE(peakDbfs, loudestPeakDbfs);
    EXPECT_LE(seamGap, maxGapFrames);
    EXPECT_LE(seamStep, innerStep);
    // A click would stand out from the music right beside it.
    EXPECT_LE(seamStep, 2 * besideSeam);
}

TEST(BackgroundMusic, ComesRoundAgainSampleForSampleWhenPlayed) {
    ScratchFolder scratch;
    DiskCapture capture(scratch.file("output.raw"), fullSpeedDiskDelayMs);
    SoundPlayer& player = SoundPlayer::instance();
    player.init();
    player.playMusic(musicAsset.c_str());
    const DecodedMusic music;
    ASSERT_TRUE(music.loaded()) << musicAsset;
    const auto expected = music.samples();
    const std::size_t frames = music.frames();

    // The output is silent until the music starts at the start of a mixed
    // buffer; from then on it is the decoded loop over and over.
    std::size_t firstSound = 0;
    while (firstSound < expected.size() && expected[firstSound] == 0) {
        ++firstSound;
    }
    const auto start = capture.waitForFrames(rateHz);
    std::size_t onset = 0;
    while (onset < start.size() && start[onset] == 0) {
        ++onset;
    }
    ASSERT_LT(onset, start.size()) << "the output is silent";
    ASSERT_GE(onset, firstSound);
    onset -= firstSound;
    ASSERT_EQ(onset % channels, 0u);
    const std::size_t extraFrames = rateHz; // heard of the second time round
    const auto played = capture.waitForFrames(onset / channels + frames + extraFrames);
    ASSERT_GE(played.size() - onset, (frames + extraFrames) * channels);

    std::size_t mismatches = 0;
    std::size_t firstMismatch = 0;
    for (std::size_t i = 0; i < (frames + extraFrames) * channels; ++i) {
        if (played[onset + i] != expected[i % expected.size()]) {
            firstMismatch = mismatches++ == 0 ? i / channels : firstMismatch;
        }
    }
    EXPECT_EQ(mismatches, 0u) << "first differing frame " << firstMismatch << " of a loop of "
                              << frames;
}

} // namespace
