// sound_player_test.cpp: the music as it reaches the output. SDL's disk
// driver captures the real output of SoundPlayer while it plays test tones:
// the music sounds, loops without a gap, gives way wholly to a second file,
// and carries an effect attached to its stream.
#include "media/sound_player.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <span>
#include <vector>

#include <gtest/gtest.h>

#include "media/audio_output.h"
#include "tests/media/audio_signal.h"

namespace {

using namespace audiotest;

constexpr double FIRST_TONE_HZ = 400.0;   // 8 whole cycles per 20 ms window
constexpr double SECOND_TONE_HZ = 1000.0; // 20 whole cycles per 20 ms window
constexpr double CLIP_SECONDS = 0.25;    // whole cycles of both tones, so each clip loops smoothly
constexpr double TONE_LEVEL = 0.5;       // peak of the test tones, fraction of full scale
constexpr double LEVEL_TOLERANCE = 0.05; // allowed error of a window's measured tone level
constexpr double PRESENT_LEVEL = 0.02;   // a tone at least this loud is in the window
constexpr double QUIET_LEVEL = 0.001;    // samples below this (-60 dBFS) count as silence
constexpr int FAST_DISK_DELAY_MS = 2;      // disk driver pause per 46 ms buffer: ~20x real time
constexpr std::size_t CLIP_FRAMES = static_cast<std::size_t>(CLIP_SECONDS * RATE_HZ);
constexpr std::size_t MAX_GAP_FRAMES = RATE_HZ / 50; // 20 ms

// The tone levels of one 20 ms window of the captured left channel.
struct Window {
    double first = 0.0;
    double second = 0.0;
};

// Windows of `heard` from its first frame on; a partial last window is left out.
std::vector<Window> windowsOf(std::span<const double> heard) {
    std::vector<Window> windows;
    for (std::size_t start = 0; start + WINDOW_FRAMES <= heard.size(); start += WINDOW_FRAMES) {
        const auto frames = heard.subspan(start, WINDOW_FRAMES);
        windows.push_back(
            {toneAmplitude(frames, FIRST_TONE_HZ), toneAmplitude(frames, SECOND_TONE_HZ)});
    }
    return windows;
}

// Where the output went from the first tone to the second.
struct Switch {
    std::size_t lastWithFirst = 0;   // last window holding the first tone
    std::size_t firstWithSecond = 0; // first window holding the second, or windows.size()
};

Switch findSwitch(const std::vector<Window>& windows) {
    Switch found{0, windows.size()};
    for (std::size_t i = 0; i < windows.size(); ++i) {
        if (windows[i].first >= PRESENT_LEVEL) {
            found.lastWithFirst = i;
        }
        if (windows[i].second >= PRESENT_LEVEL && found.firstWithSecond == windows.size()) {
            found.firstWithSecond = i;
        }
    }
    return found;
}

bool nearLevel(double measured, double expected) {
    return std::abs(measured - expected) <= LEVEL_TOLERANCE * expected;
}

// Everything captured from the first audible frame on, or the test fails.
std::vector<double> heardPart(const std::vector<std::int16_t>& capture) {
    const std::vector<double> left = leftChannel(capture);
    const std::size_t onset = firstLoudFrame(left, PRESENT_LEVEL);
    EXPECT_LT(onset, left.size()) << "the capture is silent";
    return {left.begin() + static_cast<std::ptrdiff_t>(std::min(onset, left.size())), left.end()};
}

void quarterGain(std::span<std::int16_t> samples, void* calls) {
    for (auto& sample : samples) {
        sample = static_cast<std::int16_t>(sample / 4);
    }
    ++*static_cast<std::atomic<int>*>(calls);
}

class SoundPlayerOutput : public ::testing::Test {
  protected:
    ScratchFolder scratch;
    DiskCapture capture{scratch.file("output.raw"), FAST_DISK_DELAY_MS};
    std::filesystem::path firstClip = scratch.file("first.wav");
    std::filesystem::path secondClip = scratch.file("second.wav");
    SoundPlayer& player = SoundPlayer::instance();

    void SetUp() override {
        writeToneWav(firstClip, FIRST_TONE_HZ, CLIP_SECONDS, TONE_LEVEL);
        writeToneWav(secondClip, SECOND_TONE_HZ, CLIP_SECONDS, TONE_LEVEL);
        // The disk driver announces itself through SDL's log, which stays quiet too.
        ConsoleCapture console;
        player.init();
        EXPECT_EQ(console.finish(), "");
    }
};

TEST_F(SoundPlayerOutput, MusicSoundsAndLoopsWithoutAGap) {
    constexpr std::size_t LOOPS_TO_HEAR = 12;
    player.playMusic(firstClip.c_str());
    ASSERT_NE(player.musicStream, audio::NO_STREAM);

    const auto heard = heardPart(capture.waitForFrames((LOOPS_TO_HEAR + 4) * CLIP_FRAMES));
    ASSERT_GE(heard.size(), LOOPS_TO_HEAR * CLIP_FRAMES);
    const std::size_t gap = longestQuietRun(heard, QUIET_LEVEL);
    EXPECT_LE(gap, MAX_GAP_FRAMES) << "a silent run of " << gap << " frames";
    // Every window, across every seam, holds the whole tone and nothing else.
    const auto windows = windowsOf(heard);
    for (std::size_t i = 0; i < windows.size(); ++i) {
        EXPECT_TRUE(nearLevel(windows[i].first, TONE_LEVEL))
            << "window " << i << " of " << windows.size() << " has the tone at "
            << windows[i].first;
        EXPECT_LT(windows[i].second, PRESENT_LEVEL) << "window " << i;
    }
    std::printf("heard %zu loops of the %.0f ms clip, longest silent run %zu frames\n",
                heard.size() / CLIP_FRAMES, CLIP_SECONDS * 1000, gap);
}

TEST_F(SoundPlayerOutput, SecondMusicReplacesTheFirstWithoutOverlap) {
    player.playMusic(firstClip.c_str());
    const audio::StreamHandle firstStream = player.musicStream;
    capture.waitForFrames(4 * CLIP_FRAMES);
    player.playMusic(secondClip.c_str());
    ASSERT_NE(player.musicStream, audio::NO_STREAM);
    EXPECT_NE(player.musicStream, firstStream);
    const std::size_t switchedAt = capture.frames();

    const auto windows = windowsOf(heardPart(capture.waitForFrames(switchedAt + 6 * CLIP_FRAMES)));
    const auto [lastWithFirst, firstWithSecond] = findSwitch(windows);
    ASSERT_LT(firstWithSecond, windows.size()) << "the second music never sounded";
    // At most the one window in which the switch falls holds both tones.
    EXPECT_LE(lastWithFirst, firstWithSecond);
    for (std::size_t i = 0; i < lastWithFirst; ++i) {
        EXPECT_TRUE(nearLevel(windows[i].first, TONE_LEVEL)) << "window " << i;
    }
    ASSERT_GE(windows.size() - firstWithSecond, 20u) << "too little heard after the switch";
    for (std::size_t i = firstWithSecond + 1; i < windows.size(); ++i) {
        EXPECT_TRUE(nearLevel(windows[i].second, TONE_LEVEL)) << "window " << i;
        EXPECT_LT(windows[i].first, PRESENT_LEVEL) << "window " << i;
    }
}

TEST_F(SoundPlayerOutput, EffectOnTheMusicShapesTheOutputUntilTheStreamIsReplaced) {
    std::atomic<int> effectCalls = 0;
    player.playMusic(firstClip.c_str());
    EXPECT_FALSE(audio::attachStreamEffect(audio::NO_STREAM, quarterGain, &effectCalls));
    ASSERT_TRUE(audio::attachStreamEffect(player.musicStream, quarterGain, &effectCalls));
    capture.waitForFrames(capture.frames() + 4 * CLIP_FRAMES);
    player.playMusic(secondClip.c_str());
    const int callsWhileFirstPlayed = effectCalls.load();
    const std::size_t switchedAt = capture.frames();

    const auto windows = windowsOf(heardPart(capture.waitForFrames(switchedAt + 6 * CLIP_FRAMES)));
    EXPECT_GT(callsWhileFirstPlayed, 0);
    EXPECT_EQ(effectCalls.load(), callsWhileFirstPlayed) << "the effect outlived its stream";
    const auto [lastWithFirst, firstWithSecond] = findSwitch(windows);
    ASSERT_GE(lastWithFirst, 6u);
    ASSERT_LT(firstWithSecond + 20, windows.size());
    // The first tone, in the last whole windows before the switch, at a quarter of its level.
    for (std::size_t i = lastWithFirst - 5; i < lastWithFirst; ++i) {
        EXPECT_TRUE(nearLevel(windows[i].first, TONE_LEVEL / 4))
            << "window " << i << " at " << windows[i].first;
    }
    // The second at its own level: the effect went with the first stream.
    for (std::size_t i = firstWithSecond + 1; i < windows.size(); ++i) {
        EXPECT_TRUE(nearLevel(windows[i].second, TONE_LEVEL)) << "window " << i;
    }
}

} // namespace
