// audio_quiet_test.cpp: the game stays silent and says nothing when audio
// fails. Without a device, with SDL's silent dummy driver, and with a
// missing, damaged or undecodable music file, SoundPlayer returns normally
// and nothing at all reaches the console, from any library or thread. And
// opening the output leaves the process's interrupt and terminate signals be.
#include "media/sound_player.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <ostream>
#include <string>
#include <thread>

#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include "media/audio_output.h"
#include "tests/media/audio_signal.h"

namespace {

using namespace audiotest;

constexpr double CLIP_HZ = 440.0;
constexpr double CLIP_SECONDS = 0.5;
constexpr double CLIP_LEVEL = 0.25;
// Long enough for the audio thread to have mixed, and decoded, a few buffers.
constexpr auto PLAYBACK_HOLD = std::chrono::milliseconds(400);
// Bytes of the real music kept in front of the damage, and bytes of damage.
constexpr std::size_t INTACT_PREFIX_BYTES = 4096;
constexpr std::size_t DAMAGED_BYTES = 16384;
// An ALSA device on a card that is not there.
constexpr const char* absentAlsaCard = "hw:31,0";

const std::filesystem::path musicAsset =
    std::filesystem::path(QUILLORY_SOURCE_DIR) / "assets/audio/backgroundmusic.mp3";

void writeFile(const std::filesystem::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary) << bytes;
}

std::string readFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The real music with a stretch of pseudo-random bytes over it near the start,
// so that the decoder meets the damage while it plays.
std::string damagedMusic() {
    std::string bytes = readFile(musicAsset);
    unsigned state = 12345;
    for (std::size_t i = INTACT_PREFIX_BYTES; i < INTACT_PREFIX_BYTES + DAMAGED_BYTES; ++i) {
        state = state * 1103515245u + 12345u;
        bytes[i] = static_cast<char>(state >> 16);
    }
    return bytes;
}

void useDriver(const char* driver) {
    if (driver == nullptr) {
        unsetenv("SDL_AUDIODRIVER");
    } else {
        setenv("SDL_AUDIODRIVER", driver, 1);
    }
}

TEST(SoundPlayerQuiet, DummyDriverPlaysTheMusicWithoutAWord) {
    ScratchFolder scratch;
    const auto clip = scratch.file("clip.wav");
    writeToneWav(clip, CLIP_HZ, CLIP_SECONDS, CLIP_LEVEL);
    useDriver("dummy");
    SoundPlayer& player = SoundPlayer::instance();

    ConsoleCapture console;
    player.init();
    player.playMusic(clip.c_str());
    const audio::StreamHandle stream = player.musicStream;
    std::this_thread::sleep_for(PLAYBACK_HOLD);
    EXPECT_EQ(console.finish(), "");
    EXPECT_NE(stream, audio::NO_STREAM);
}

TEST(SoundPlayerQuiet, OpeningTheOutputLeavesInterruptAndTerminateToTheGame) {
    useDriver("dummy");
    SoundPlayer::instance().init();
    for (int signal : {SIGINT, SIGTERM}) {
        struct sigaction action {};
        ASSERT_EQ(sigaction(signal, nullptr, &action), 0);
        EXPECT_EQ(action.sa_handler, SIG_DFL) << "signal " << signal << " was taken over";
    }
}

TEST(SoundPlayerQuiet, MissingOrBadMusicLeavesSilenceWithoutAWord) {
    ScratchFolder scratch;
    const auto clip = scratch.file("clip.wav");
    writeToneWav(clip, CLIP_HZ, CLIP_SECONDS, CLIP_LEVEL);
    const auto text = scratch.file("text.mp3");
    writeFile(text, "these words are not music, though the name says so\n");
    const auto empty = scratch.file("empty.mp3");
    writeFile(empty, "");
    const auto headerOnly = scratch.file("header-only.wav");
    writeFile(headerOnly, readFile(clip).substr(0, 44 - 8)); // cut off before its data chunk
    const auto damaged = scratch.file("damaged.mp3");
    writeFile(damaged, damagedMusic());
    useDriver("dummy");
    SoundPlayer& player = SoundPlayer::instance();

    ConsoleCapture console;
    player.init();
    player.playMusic(clip.c_str());
    const audio::StreamHandle clipStream = player.musicStream;
    player.playMusic(scratch.file("missing.mp3").c_str());
    const audio::StreamHandle afterMissing = player.musicStream;
    player.playMusic(text.c_str());
    const audio::StreamHandle afterText = player.musicStream;
    player.playMusic(empty.c_str());
    const audio::StreamHandle afterEmpty = player.musicStream;
    player.playMusic(headerOnly.c_str());
    const audio::StreamHandle afterHeaderOnly = player.musicStream;
    // A file that opens but is damaged further in: the decoder meets the
    // damage on the audio thread while it plays.
    player.playMusic(damaged.c_str());
    std::this_thread::sleep_for(PLAYBACK_HOLD);
    const std::string printed = console.finish();

    EXPECT_EQ(printed, "");
    EXPECT_NE(clipStream, audio::NO_STREAM);
    EXPECT_EQ(afterMissing, audio::NO_STREAM);
    EXPECT_EQ(afterText, audio::NO_STREAM);
    EXPECT_EQ(afterEmpty, audio::NO_STREAM);
    EXPECT_EQ(afterHeaderOnly, audio::NO_STREAM);
}

// How the machine fails to give an output device.
struct MissingDevice {
    const char* name;
    const char* driver;     // SDL_AUDIODRIVER, or null for SDL's own choice
    const char* alsaDevice; // AUDIODEV for SDL's ALSA driver, or null
    bool surelyNoOutput;    // false where a desktop machine may have one after all
};

void PrintTo(const MissingDevice& device, std::ostream* out) {
    *out << device.name;
}

class SoundPlayerWithoutDevice : public ::testing::TestWithParam<MissingDevice> {};

TEST_P(SoundPlayerWithoutDevice, StartsSilentlyWithoutAWord) {
    ScratchFolder scratch;
    const auto clip = scratch.file("clip.wav");
    // A silent clip: a machine that does have a device after all hears nothing.
    writeToneWav(clip, CLIP_HZ, CLIP_SECONDS, 0.0);
    const MissingDevice& device = GetParam();
    useDriver(device.driver);
    if (device.alsaDevice != nullptr) {
        setenv("AUDIODEV", device.alsaDevice, 1);
    }
    SoundPlayer& player = SoundPlayer::instance();

    ConsoleCapture console;
    player.init();
    player.playMusic(clip.c_str());
    const audio::StreamHandle stream = player.musicStream;
    std::this_thread::sleep_for(PLAYBACK_HOLD);
    EXPECT_EQ(console.finish(), "");
    if (device.surelyNoOutput) {
        EXPECT_EQ(stream, audio::NO_STREAM);
    }
}

// Quitting SDL's audio after a failed open would join the ALSA driver's
// device-detection thread and hold start-up until it wakes.
TEST(SoundPlayerQuiet, AFailedOpenLeavesTheAudioSubsystemUp) {
    useDriver("alsa");
    setenv("AUDIODEV", absentAlsaCard, 1);
    SoundPlayer& player = SoundPlayer::instance();

    ConsoleCapture console;
    player.init();
    player.init(); // a second try on the same driver, just as quiet
    EXPECT_EQ(console.finish(), "");
    EXPECT_EQ(SDL_WasInit(SDL_INIT_AUDIO), static_cast<Uint32>(SDL_INIT_AUDIO));
}

INSTANTIATE_TEST_SUITE_P(
    Devices, SoundPlayerWithoutDevice,
    ::testing::Values(MissingDevice{"SdlsChoice", nullptr, nullptr, false},
                      MissingDevice{"AlsaCardThatIsNotThere", "alsa", absentAlsaCard, true},
                      MissingDevice{"PulseAudio", "pulseaudio", nullptr, false},
                      MissingDevice{"UnknownDriver", "no-such-driver", nullptr, true}),
    [](const ::testing::TestParamInfo<MissingDevice>& param) { return param.param.name; });

} // namespace
