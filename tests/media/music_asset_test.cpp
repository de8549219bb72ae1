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

constexpr double SHORTEST_LOOP_S = 30.0;
constexpr double LONGEST_LOOP_S = 60.0;
constexpr double LOUDEST_PEAK_DBFS = -6.0;
constexpr double QUIET_LEVEL = 0.001;                      // below -60 dBFS counts as silence
constexpr std::size_t MAX_GAP_FRAMES = RATE_HZ / 50;         // 20 ms
constexpr std::size_t SEAM_SPAN_FRAMES = RATE_HZ / 10;       // looked at on each side of the seam
constexpr std::size_t NEIGHBOURHOOD_FRAMES = RATE_HZ / 200; // 5 ms beside the seam
constexpr int FULL_SPEED_DISK_DELAY_MS = 1;                   // disk driver pause per 46 ms buffer

const std::filesystem::path musicAsset =
    std::filesystem::path(QUILLORY_SOURCE_DIR) / "assets/audio/backgroundmusic.mp3";

double toDbfs(double level) {
    return 20.0 * std::log10(level);
}

// Largest step between neighbouring frames of one channel, over [begin, end).
int largestStep(std::span<const std::int16_t> samples, std::size_t begin, std::size_t end) {
    int largest = 0;
    for (std::size_t frame = begin; frame + 1 < end; ++frame) {
        for (int c = 0; c < CHANNELS; ++c) {
            const int step = samples[(frame + 1) * CHANNELS + c] - samples[frame * CHANNELS + c];
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
    std::size_t frames() const { return samples().size() / CHANNELS; }

  private:
    Mix_Chunk* chunk_;
};

TEST(BackgroundMusic, IsAQuietLoopOfHalfAMinuteToAMinuteWithASmoothSeam) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_AUDIO), 0);
    ASSERT_EQ(Mix_OpenAudioDevice(RATE_HZ, AUDIO_S16SYS, CHANNELS, 2048, nullptr, 0), 0);
    const DecodedMusic music;
    ASSERT_TRUE(music.loaded()) << musicAsset;
    const auto samples = music.samples();
    const std::size_t frames = music.frames();

    const double seconds = static_cast<double>(frames) / RATE_HZ;
    int peak = 0;
    for (std::int16_t s : samples) {
        peak = std::max(peak, std::abs(static_cast<int>(s)));
    }
    const double peakDbfs = toDbfs(peak / FULL_SCALE);

    // The seam as it plays: the last 100 ms run on into the first 100 ms.
    std::vector<double> acrossSeam;
    for (std::size_t i = frames - SEAM_SPAN_FRAMES; i < frames + SEAM_SPAN_FRAMES; ++i) {
        const std::size_t frame = i % frames;
        acrossSeam.push_back(std::max(std::abs(samples[frame * CHANNELS] / FULL_SCALE),
                                      std::abs(samples[frame * CHANNELS + 1] / FULL_SCALE)));
    }
    const std::size_t seamGap = longestQuietRun(acrossSeam, QUIET_LEVEL);
    int seamStep = 0;
    for (int c = 0; c < CHANNELS; ++c) {
        seamStep = std::max(seamStep, std::abs(samples[c] - samples[(frames - 1) * CHANNELS + c]));
    }
    const int innerStep = largestStep(samples, 0, frames);
    const int besideSeam = std::max(largestStep(samples, frames - NEIGHBOURHOOD_FRAMES, frames),
                                    largestStep(samples, 0, NEIGHBOURHOOD_FRAMES));

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

    EXPECT_GE(seconds, SHORTEST_LOOP_S);
    EXPECT_LE(seconds, LONGEST_LOOP_S);
    EXPECT_LE(peakDbfs, LOUDEST_PEAK_DBFS);
    EXPECT_LE(seamGap, MAX_GAP_FRAMES);
    EXPECT_LE(seamStep, innerStep);
    // A click would stand out from the music right beside it.
    EXPECT_LE(seamStep, 2 * besideSeam);
}

TEST(BackgroundMusic, ComesRoundAgainSampleForSampleWhenPlayed) {
    ScratchFolder scratch;
    DiskCapture capture(scratch.file("output.raw"), FULL_SPEED_DISK_DELAY_MS);
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
    const auto start = capture.waitForFrames(RATE_HZ);
    std::size_t onset = 0;
    while (onset < start.size() && start[onset] == 0) {
        ++onset;
    }
    ASSERT_LT(onset, start.size()) << "the output is silent";
    ASSERT_GE(onset, firstSound);
    onset -= firstSound;
    ASSERT_EQ(onset % CHANNELS, 0u);
    const std::size_t extraFrames = RATE_HZ; // heard of the second time round
    const auto played = capture.waitForFrames(onset / CHANNELS + frames + extraFrames);
    ASSERT_GE(played.size() - onset, (frames + extraFrames) * CHANNELS);

    std::size_t mismatches = 0;
    std::size_t firstMismatch = 0;
    for (std::size_t i = 0; i < (frames + extraFrames) * CHANNELS; ++i) {
        if (played[onset + i] != expected[i % expected.size()]) {
            firstMismatch = mismatches++ == 0 ? i / CHANNELS : firstMismatch;
        }
    }
    EXPECT_EQ(mismatches, 0u) << "first differing frame " << firstMismatch << " of a loop of "
                              << frames;
}

} // namespace
