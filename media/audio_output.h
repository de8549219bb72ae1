// audio_output.h: the game's audio layer, one output device and the looping
// file streams played on it.
//
// Owns the audio output and every stream opened on it. The sound player is its
// caller, on the main thread; the output, once open, lasts until the process
// ends, and a stream lasts until it is freed. Nothing here ever prints.
#pragma once

#include <cstdint>
#include <span>

namespace audio {

// Names one open stream; small unsigned integers, never reused.
using StreamHandle = std::uint32_t;
inline constexpr StreamHandle NO_STREAM = 0;

// Shapes the output in place: interleaved left/right signed 16-bit samples.
// Runs on the audio thread, so it must not block or call back into this layer.
using StreamEffect = void (*)(std::span<std::int16_t> samples, void* context);

// Opens the default output device, 16-bit stereo at `rateHz`; false when no device can be had.
// The default device, not the first one the driver lists, is a deliberate choice: it is the
// output the player's desktop has selected, where they expect the game's sound to come out,
// while the first listed device is often a card nobody is listening to (HDMI, a dock).
// SDL's audio subsystem, once brought up, stays up even without a device, so that a failed
// open costs no wait for the driver's threads to end.
bool openAudioOutput(int rateHz);

// Opens the file at `path` as a stream that loops forever; NO_STREAM when no output is
// open or the file is missing or cannot be decoded.
StreamHandle openLoopingStream(const char* path);

// Starts `stream` playing in place of any other; one already playing goes on, not restarted.
void startStream(StreamHandle stream);

// Stops and frees `stream`, with its effect; NO_STREAM and unknown handles are ignored.
void freeStream(StreamHandle stream);

// Runs `effect` on the output whenever `stream` plays, until the stream is freed; replaces an
// earlier effect of that stream. False for an unknown stream.
bool attachStreamEffect(StreamHandle stream, StreamEffect effect, void* context);

} // namespace audio
