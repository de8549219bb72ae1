#!/usr/bin/env python3
# Usage: python3 tools/music/compose.py assets/audio/backgroundmusic.mp3 [--wav loop.wav]
#
# compose.py: composes and renders Quillory's background music, a calm loop of
# sixteen bars in F major (flute melody over a soft pad, a plucked arpeggio and
# a round bass, with a little echo and room), and encodes it to MP3 with
# Debian's `lame`. The loop is rendered on a circle: whatever rings past the
# last bar (releases, echoes, the room's tail) is mixed into the first, so the
# end runs straight into the start. Python's standard library only; the same
# output every run.

import argparse
import array
import math
import random
import shutil
import subprocess
import sys
import tempfile
import wave
from pathlib import Path

RATE_HZ = 44100              # sample rate of the WAV and the MP3
TEMPO_BPM = 80               # quarter notes per minute
BEATS_PER_BAR = 4
BAR_COUNT = 16               # 16 bars at 80 BPM: a 48-second loop
TARGET_PEAK_DBFS = -7.5      # peak of the rendered loop; MP3 encoding adds a little
DITHER_SEED = 1729           # fixed, so every run writes the same samples
LAME_VBR_QUALITY = "4"       # lame -V: 0 best .. 9 smallest; 4 is about 165 kbit/s

BEAT_S = 60.0 / TEMPO_BPM
BAR_S = BEAT_S * BEATS_PER_BAR
LOOP_FRAMES = round(BAR_COUNT * BAR_S * RATE_HZ)
TWO_PI = 2.0 * math.pi

# --- the score -------------------------------------------------------------

# One chord a bar: the pad's voicing (MIDI note numbers) and the bass root.
CHORDS = [
    ([53, 57, 60, 64], 41),  # Fmaj7
    ([55, 57, 60, 64], 45),  # Am7
    ([53, 57, 58, 62], 46),  # Bbmaj7
    ([55, 60, 62, 64], 48),  # Cadd9
    ([53, 57, 60, 62], 38),  # Dm7
    ([55, 57, 60, 64], 45),  # Am7
    ([53, 57, 58, 62], 46),  # Bbmaj7
    ([53, 55, 58, 62], 43),  # Gm7
    ([53, 57, 58, 62], 46),  # Bbmaj7
    ([52, 55, 60, 64], 48),  # C
    ([55, 57, 60, 64], 45),  # Am7
    ([53, 57, 60, 62], 38),  # Dm7
    ([53, 55, 58, 62], 43),  # Gm7
    ([53, 55, 60, 65], 48),  # Csus4
    ([53, 57, 60, 64], 41),  # Fmaj7
    ([55, 60, 62, 64], 48),  # Cadd9, leading back to the first bar
]

# The melody, bar by bar: (MIDI note or None for a rest, length in beats).
MELODY = [
    [(72, 1.5), (69, 0.5), (72, 1), (76, 1)],
    [(76, 2), (74, 1), (72, 1)],
    [(74, 1.5), (72, 0.5), (70, 1), (69, 1)],
    [(67, 3), (None, 1)],
    [(69, 1.5), (72, 0.5), (77, 1), (76, 1)],
    [(76, 2), (72, 1), (69, 1)],
    [(70, 1), (74, 1), (77, 1), (76, 0.5), (74, 0.5)],
    [(74, 3), (None, 1)],
    [(77, 1.5), (76, 0.5), (74, 1), (72, 1)],
    [(72, 2), (67, 1), (72, 1)],
    [(76, 1.5), (74, 0.5), (72, 1), (69, 1)],
    [(69, 2), (72, 1), (74, 1)],
    [(74, 1.5), (77, 0.5), (74, 1), (70, 1)],
    [(72, 2), (67, 2)],
    [(69, 3), (72, 1)],
    [(74, 1), (72, 1), (67, 2)],  # the last G rings on into the first bar
]

# Eighth-note arpeggio over the pad's voicing an octave up: indexes into the
# chord, one pattern for odd bars and one for even bars.
ARPEGGIO_PATTERNS = [[0, 1, 2, 3, 2, 1, 2, 3], [0, 2, 1, 3, 2, 3, 1, 2]]
ARPEGGIO_ACCENTS = [1.0, 0.6, 0.8, 0.6, 0.9, 0.6, 0.8, 0.6]
# The bass: (beat in the bar, length in beats, interval above the root, level).
BASS_PATTERN = [(0, 2.5, 0, 1.0), (2.5, 1.5, 7, 0.7)]

# Instrument levels before the final normalisation, and their places in the stereo field
# (-1 left .. 1 right).
PAD_LEVEL = 0.10
ARPEGGIO_LEVEL = 0.11
BASS_LEVEL = 0.34
MELODY_LEVEL = 0.22
ARPEGGIO_PANS = [-0.45, 0.45]
MELODY_PAN = 0.05
PAD_DETUNE = 0.0018          # ratio by which the left and right pad voices are detuned

# Effects: a ping-pong echo of a dotted eighth on the arpeggio and melody, and a small room.
ECHO_DELAY_BEATS = 0.75
ECHO_FEEDBACK = 0.32
ECHO_SEND = 0.28
ROOM_COMBS_S = [0.0297, 0.0371, 0.0411, 0.0437]  # comb delays, seconds (right: +0.8 ms)
ROOM_STEREO_SPREAD_S = 0.0008
ROOM_FEEDBACK = 0.78
ROOM_ALLPASS_S = [0.0050, 0.0017]
ROOM_ALLPASS_GAIN = 0.6
ROOM_MIX = 0.16


def midi_hz(note):
    return 440.0 * 2.0 ** ((note - 69) / 12.0)


def seconds_to_frames(seconds):
    return int(round(seconds * RATE_HZ))


# --- instruments -----------------------------------------------------------
# Each returns one note's samples (a list of floats) starting at its onset and
# running through its release.


def envelope(count, attack_s, hold_frames, release_s, curve=1.0):
    """Raised-cosine attack, a flat hold, then an exponential-like release to zero."""
    attack = max(1, seconds_to_frames(attack_s))
    release = max(1, seconds_to_frames(release_s))
    out = []
    for i in range(count):
        if i < attack:
            out.append(0.5 - 0.5 * math.cos(math.pi * i / attack))
        elif i < hold_frames:
            out.append(1.0)
        else:
            t = (i - hold_frames) / release
            out.append(0.0 if t >= 1.0 else (1.0 - t) ** (2.0 * curve))
    return out


def pad_note(freq, length_frames):
    """A warm pad: four soft harmonics, a slow swell and a long release."""
    release_s = 1.4
    count = length_frames + seconds_to_frames(release_s)
    env = envelope(count, 0.7, length_frames, release_s)
    w = TWO_PI * freq / RATE_HZ
    sin = math.sin
    return [e * (sin(w * i) + 0.30 * sin(2 * w * i) + 0.12 * sin(3 * w * i)
                 + 0.05 * sin(4 * w * i)) for i, e in enumerate(env)]


def pluck_note(freq, velocity):
    """A soft kalimba-like pluck: two-operator FM whose brightness fades faster than its body."""
    count = seconds_to_frames(1.8)
    attack = seconds_to_frames(0.006)
    w = TWO_PI * freq / RATE_HZ
    body_decay = -1.0 / (0.45 * RATE_HZ)
    bright_decay = -1.0 / (0.08 * RATE_HZ)
    sin, exp = math.sin, math.exp
    out = []
    for i in range(count):
        rise = 1.0 if i >= attack else 0.5 - 0.5 * math.cos(math.pi * i / attack)
        tail = 1.0 - i / count
        index = 1.1 * exp(bright_decay * i)
        out.append(velocity * rise * tail * exp(body_decay * i) * sin(w * i + index * sin(2.0 * w * i)))
    return out


def bass_note(freq, length_frames, velocity):
    """A round bass: a sine with a touch of second harmonic, gently attacked."""
    release_s = 0.35
    count = length_frames + seconds_to_frames(release_s)
    env = envelope(count, 0.03, length_frames, release_s)
    w = TWO_PI * freq / RATE_HZ
    sin = math.sin
    return [velocity * e * (sin(w * i) + 0.18 * sin(2 * w * i)) for i, e in enumerate(env)]


def flute_note(freq, length_frames):
    """A breathy flute: soft harmonics, a slow attack, and vibrato that grows in."""
    release_s = 0.45
    count = length_frames + seconds_to_frames(release_s)
    env = envelope(count, 0.09, length_frames, release_s, curve=1.3)
    vibrato_w = TWO_PI * 5.0 / RATE_HZ
    vibrato_depth = 0.004
    vibrato_in = seconds_to_frames(0.35)
    step = TWO_PI * freq / RATE_HZ
    sin = math.sin
    phase = 0.0
    out = []
    for i, e in enumerate(env):
        depth = vibrato_depth * min(1.0, i / vibrato_in)
        phase += step * (1.0 + depth * sin(vibrato_w * i))
        out.append(e * (sin(phase) + 0.22 * sin(2 * phase) + 0.07 * sin(3 * phase)))
    return out


# --- the circular mix ------------------------------------------------------


class LoopBuffer:
    """Stereo samples on a circle of LOOP_FRAMES: writes past the end wrap to the start."""

    def __init__(self):
        self.left = [0.0] * LOOP_FRAMES
        self.right = [0.0] * LOOP_FRAMES

    def add(self, start, samples, gain, pan):
        left_gain = gain * math.cos((pan + 1.0) * math.pi / 4.0)
        right_gain = gain * math.sin((pan + 1.0) * math.pi / 4.0)
        self.add_channel(self.left, start, samples, left_gain)
        self.add_channel(self.right, start, samples, right_gain)

    @staticmethod
    def add_channel(channel, start, samples, gain):
        done = 0
        position = start % LOOP_FRAMES
        while done < len(samples):
            span = min(len(samples) - done, LOOP_FRAMES - position)
            part = samples[done:done + span]
            channel[position:position + span] = [
                a + gain * b for a, b in zip(channel[position:position + span], part)]
            done += span
            position = 0

    def mix_in(self, other, gain):
        self.left = [a + gain * b for a, b in zip(self.left, other.left)]
        self.right = [a + gain * b for a, b in zip(self.right, other.right)]


def beat_frame(bar, beat):
    return seconds_to_frames(bar * BAR_S + beat * BEAT_S)


def render_pad(mix):
    for bar, (voicing, _) in enumerate(CHORDS):
        start = beat_frame(bar, 0)
        length = beat_frame(bar + 1, 0) - start
        for note in voicing:
            freq = midi_hz(note)
            mix.add_channel(mix.left, start, pad_note(freq * (1.0 - PAD_DETUNE), length), PAD_LEVEL)
            mix.add_channel(mix.right, start, pad_note(freq * (1.0 + PAD_DETUNE), length), PAD_LEVEL)


def render_arpeggio(mix):
    for bar, (voicing, _) in enumerate(CHORDS):
        pattern = ARPEGGIO_PATTERNS[bar % 2]
        for step, (index, accent) in enumerate(zip(pattern, ARPEGGIO_ACCENTS)):
            note = voicing[index] + 12
            mix.add(beat_frame(bar, step * 0.5), pluck_note(midi_hz(note), accent),
                    ARPEGGIO_LEVEL, ARPEGGIO_PANS[step % 2])


def render_bass(mix):
    for bar, (_, root) in enumerate(CHORDS):
        for beat, length, interval, velocity in BASS_PATTERN:
            start = beat_frame(bar, beat)
            frames = beat_frame(bar, beat + length) - start
            mix.add(start, bass_note(midi_hz(root + interval), frames, velocity), BASS_LEVEL, 0.0)


def render_melody(mix):
    for bar, notes in enumerate(MELODY):
        beat = 0.0
        for note, length in notes:
            if note is not None:
                start = beat_frame(bar, beat)
                frames = beat_frame(bar, beat + length) - start
                mix.add(start, flute_note(midi_hz(note), frames), MELODY_LEVEL, MELODY_PAN)
            beat += length
        if abs(beat - BEATS_PER_BAR) > 1e-9:
            sys.exit(f"compose.py: melody bar {bar + 1} holds {beat} beats, not {BEATS_PER_BAR}")


# --- effects on the circle ---------------------------------------------------
# A recursive filter on a loop has a steady state in which its tail wraps
# round: run it over two copies of the loop and keep the second.


def comb_on_circle(samples, delay_frames, feedback):
    """Damped feedback comb: y[n] = x[n] + feedback * mean(y[n-D], y[n-D-1]), on the circle."""
    source = samples + samples
    half = feedback * 0.5
    lead = delay_frames + 1
    out = [0.0] * lead  # y[n] sits at out[n + lead]; before the first pass all is still
    for start in range(0, len(source), delay_frames):
        chunk = source[start:start + delay_frames]
        count = len(chunk)
        out += [x + half * (a + b) for x, a, b in
                zip(chunk, out[start + 1:start + 1 + count], out[start:start + count])]
    return out[lead + LOOP_FRAMES:]


def allpass_on_circle(samples, delay_frames, gain):
    """Schroeder all-pass: y[n] = -g x[n] + x[n-D] + g y[n-D], on the circle."""
    source = samples + samples
    delayed = [0.0] * delay_frames + source  # x[n-D] sits at delayed[n]
    out = [0.0] * delay_frames               # y[n] sits at out[n + D]
    for start in range(0, len(source), delay_frames):
        chunk = source[start:start + delay_frames]
        count = len(chunk)
        out += [-gain * x + xd + gain * yd for x, xd, yd in
                zip(chunk, delayed[start:start + count], out[start:start + count])]
    return out[delay_frames + LOOP_FRAMES:]


def ping_pong_echo(mix):
    """Echoes alternating right and left, each one ECHO_FEEDBACK quieter, wrapped round."""
    delay = seconds_to_frames(ECHO_DELAY_BEATS * BEAT_S)
    echo = LoopBuffer()
    mono = [0.5 * (a + b) for a, b in zip(mix.left, mix.right)]
    level = ECHO_SEND
    # Echoes past ECHO_FEEDBACK**12 are far below hearing; each is the loop rotated on.
    for repeat in range(1, 13):
        shift = (repeat * delay) % LOOP_FRAMES
        rotated = mono[-shift:] + mono[:-shift] if shift else mono
        channel = echo.right if repeat % 2 else echo.left
        channel[:] = [a + level * b for a, b in zip(channel, rotated)]
        level *= ECHO_FEEDBACK
    return echo


def room(mix):
    """A small Schroeder room: four damped combs in parallel, then two all-passes, per channel."""
    wet = LoopBuffer()
    for dry, target, spread in ((mix.left, wet.left, 0.0), (mix.right, wet.right, ROOM_STEREO_SPREAD_S)):
        summed = [0.0] * LOOP_FRAMES
        for delay_s in ROOM_COMBS_S:
            comb = comb_on_circle(dry, seconds_to_frames(delay_s + spread), ROOM_FEEDBACK)
            summed = [a + 0.25 * b for a, b in zip(summed, comb)]
        for delay_s in ROOM_ALLPASS_S:
            summed = allpass_on_circle(summed, seconds_to_frames(delay_s), ROOM_ALLPASS_GAIN)
        target[:] = summed
    return wet


# --- output ----------------------------------------------------------------


def to_pcm16(mix):
    """Scales the loop to TARGET_PEAK_DBFS and quantises it to 16 bits with triangular dither."""
    peak = max(max(abs(v) for v in mix.left), max(abs(v) for v in mix.right))
    scale = 32767.0 * 10.0 ** (TARGET_PEAK_DBFS / 20.0) / peak
    noise = random.Random(DITHER_SEED)
    uniform = noise.random
    interleaved = [v for frame in zip(mix.left, mix.right) for v in frame]
    pcm = array.array("h", [max(-32768, min(32767, round(v * scale + uniform() - uniform())))
                            for v in interleaved])
    if sys.byteorder == "big":
        pcm.byteswap()  # WAV samples are little-endian
    return pcm.tobytes()


def write_wav(path, pcm):
    with wave.open(str(path), "wb") as out:
        out.setnchannels(2)
        out.setsampwidth(2)
        out.setframerate(RATE_HZ)
        out.writeframes(pcm)


def encode_mp3(wav_path, mp3_path):
    # LAME's info tag (its default) carries the encoder delay and padding, which
    # the decoder trims so that the loop has no gap.
    subprocess.run(["lame", "--quiet", "-V", LAME_VBR_QUALITY, "-q", "2",
                    "--tt", "Quillory", "--ta", "Quillory", str(wav_path), str(mp3_path)],
                   check=True)


def compose():
    music = LoopBuffer()
    render_pad(music)
    render_bass(music)
    lead = LoopBuffer()
    render_arpeggio(lead)
    render_melody(lead)
    music.mix_in(lead, 1.0)
    music.mix_in(ping_pong_echo(lead), 1.0)
    music.mix_in(room(music), ROOM_MIX)
    return music


def main():
    parser = argparse.ArgumentParser(description="Composes Quillory's background music loop.")
    parser.add_argument("mp3", type=Path, help="the MP3 file to write")
    parser.add_argument("--wav", type=Path, help="also keep the rendered loop as this WAV")
    args = parser.parse_args()
    if shutil.which("lame") is None:
        sys.exit("compose.py: needs Debian's lame (apt-get install lame)")

    pcm = to_pcm16(compose())
    with tempfile.TemporaryDirectory() as scratch:
        wav_path = args.wav or Path(scratch) / "loop.wav"
        write_wav(wav_path, pcm)
        encode_mp3(wav_path, args.mp3)
    seconds = LOOP_FRAMES / RATE_HZ
    print(f"compose.py: wrote {args.mp3}, {seconds:.1f} s loop of {LOOP_FRAMES} frames")


if __name__ == "__main__":
    main()
