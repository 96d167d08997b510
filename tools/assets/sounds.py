"""Speech lines and the fail buzz as Ogg Vorbis at 44100 Hz, and the three
music files rendered from the XM songs of music_songs.py by the project's own
module renderer (tools/xmrender) when that tool has been built."""
import os
import shutil
import subprocess
import tempfile
import wave

import numpy as np

import music_songs
import synth

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.normpath(os.path.join(HERE, "..", ".."))

SPEECH = {
    "solistenup": "So, listen up!",
    "myturn": "My turn!",
    "yourturn": "Your turn!",
    "areyoukiddingme": "Are you kidding me?",
    "greatgameplaydude": "Great gameplay, dude!",
}
# espeak-ng voice and its treatment: a touch higher and warmer, a little chorus and a small room.
ESPEAK = ["espeak-ng", "-v", "en-us", "-s", "150", "-p", "58", "-a", "160", "-g", "2"]
SOX_FX = ["highpass", "90", "pitch", "120", "equalizer", "2500", "1q", "3",
          "chorus", "0.7", "0.9", "45", "0.3", "0.25", "2", "-t",
          "reverb", "18", "50", "35", "silence", "1", "0.01", "0.5%", "reverse",
          "silence", "1", "0.01", "0.5%", "fade", "0.04", "reverse", "fade", "0.005",
          "norm", "-3", "rate", "-v", "44100"]
OGGENC = ["oggenc", "-Q", "-q", "4", "--serial", "1"]


def write_wav(path, samples, rate=44100):
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(rate)
        w.writeframes(np.asarray(samples, dtype="<i2").tobytes())


def encode(wav, ogg):
    subprocess.run(OGGENC + ["-o", ogg, wav], check=True)


def speech(data_dir, tmp):
    for name, line in SPEECH.items():
        raw = os.path.join(tmp, name + "_raw.wav")
        done = os.path.join(tmp, name + ".wav")
        subprocess.run(ESPEAK + ["-w", raw, line], check=True)
        subprocess.run(["sox", "-R", "-D", "-V1", raw, "-b", "16", done] + SOX_FX, check=True)
        encode(done, os.path.join(data_dir, name + ".ogg"))


def fail_buzz(seconds=0.5):
    """A low, slightly detuned two-note "bonk" falling a semitone: clearly wrong, never harsh."""
    t = np.arange(int(seconds * 44100)) / 44100
    f = np.where(t < 0.16, 123.47, 116.54)
    phase = 2 * np.pi * np.cumsum(f) / 44100
    x = np.zeros_like(t)
    for k, a in ((1, 1.0), (2, 0.5), (3, 0.33), (4, 0.2), (5, 0.12)):
        x += a * np.sin(k * phase) + 0.6 * a * np.sin(k * phase * 1.012)
    env = np.minimum(1, t / 0.006) * np.exp(-t * 5.5)
    env *= np.where((t > 0.15) & (t < 0.17), 0.55, 1.0)
    x = np.tanh(1.6 * x * env)
    n = int(0.05 * 44100)
    x[-n:] *= np.linspace(1, 0, n)
    return np.round(x / np.max(np.abs(x)) * 0.7 * 32767).astype(np.int16)


def find_renderer():
    path = os.path.join(ROOT, "build", "tools", "xmrender", "xmrender")
    return path if os.path.isfile(path) and os.access(path, os.X_OK) else None


def read_wav(path):
    with wave.open(path, "rb") as w:
        frames = np.frombuffer(w.readframes(w.getnframes()), dtype="<i2")
        return frames.reshape(-1, w.getnchannels())


def write_stereo_wav(path, frames, rate=44100):
    with wave.open(path, "wb") as w:
        w.setnchannels(2)
        w.setsampwidth(2)
        w.setframerate(rate)
        w.writeframes(np.ascontiguousarray(frames, dtype="<i2").tobytes())


def pass_frames(module):
    """Frames of one pass through the order list, as the player counts them:
    integer frames per tick (rate * 2.5 / BPM, truncated), speed ticks per row.
    Valid because these songs change neither speed nor tempo and jump nowhere."""
    for pattern in module.patterns:
        for row in pattern.cells:
            for cell in row:
                assert cell.fx not in (0x0B, 0x0D, 0x0F), "menu music must play straight through"
    per_tick = 44100 * 640 // (module.bpm * 256)
    rows = sum(module.patterns[i].rows for i in module.orders)
    return rows * module.speed * per_tick


def render(renderer, xm, wav):
    # Linear-frequency songs at the renderer's default cubic interpolation and
    # half mix gain; the level is set afterwards by SoX.
    subprocess.run([renderer, "-i", "2", "-a", "128", xm, wav], check=True, stdout=subprocess.DEVNULL)


def seamless_loop(renderer, module, tmp, log):
    """The menu music loops in the game, so the file must start with the tails of
    its own end. Three passes in a row are rendered without the restart's channel
    reset; the second pass is kept, and its start is checked against the third's
    (what follows the loop point in the game)."""
    length = pass_frames(module)
    tripled = os.path.join(tmp, "music_x3.xm")
    module.orders = module.orders * 3
    with open(tripled, "wb") as f:
        f.write(module.to_bytes())
    wav = os.path.join(tmp, "music_x3.wav")
    render(renderer, tripled, wav)
    frames = read_wav(wav)
    if len(frames) < 3 * length:
        raise SystemExit("music: rendered %d frames, expected %d" % (len(frames), 3 * length))
    second = frames[length:2 * length]
    third_start = frames[2 * length:2 * length + 4410].astype(np.int32)
    drift = int(np.max(np.abs(third_start - second[:4410].astype(np.int32))))
    seam = int(np.max(np.abs(second[0].astype(np.int32) - second[-1].astype(np.int32))))
    steps = np.abs(np.diff(second.astype(np.int32), axis=0))
    log("music: loop of %d frames (%.3f s); seam step %d (median step %d, 99.9th %d); "
        "pass 2 vs 3 start differ by at most %d" % (
            length, length / 44100, seam, int(np.median(steps)), int(np.percentile(steps, 99.9)), drift))
    if drift > 2:
        raise SystemExit("music: the loop does not repeat itself (difference %d)" % drift)
    out = os.path.join(tmp, "music_loop.wav")
    write_stereo_wav(out, second)
    return out


def jingle_length(wav, seconds, name):
    """SoX effects that pad a rendered jingle with silence to its fixed length."""
    rendered = len(read_wav(wav)) / 44100
    if rendered > seconds - 0.5:
        raise SystemExit("%s: %.2f s rendered, more than its %.1f s allow" % (name, rendered, seconds))
    return ["pad", "0", "%.6f" % (seconds - rendered)]


# Peak level of the music files: the game mixes them under speech and notes.
MUSIC_GAIN = ["gain", "-n", "-3"]


def music(data_dir, tmp, log):
    sources = music_songs.write_sources(os.path.join(HERE, "songs"))
    renderer = find_renderer()
    if renderer is None:
        log("music: build/tools/xmrender/xmrender is not built (cmake --build build --target xmrender); "
            "kept the existing music files (XM sources written to tools/assets/songs/)")
        return
    for name, xm in sources.items():
        length = []
        if name == "music":
            wav = seamless_loop(renderer, music_songs.SONGS[name](), tmp, log)
        else:
            wav = os.path.join(tmp, name + "_raw.wav")
            render(renderer, xm, wav)
            length = jingle_length(wav, music_songs.JINGLE_SECONDS[name], name)
        done = os.path.join(tmp, name + ".wav")
        subprocess.run(["sox", "-R", "-D", "-V1", wav, "-b", "16", done] + MUSIC_GAIN + length, check=True)
        encode(done, os.path.join(data_dir, name + ".ogg"))
    log("music: %s rendered by %s" % (", ".join(sorted(sources)), os.path.relpath(renderer, ROOT)))


def build(data_dir, log=print):
    for tool in ("espeak-ng", "sox", "oggenc"):
        if shutil.which(tool) is None:
            raise SystemExit("missing %s (run tools/assets/regenerate.sh as root)" % tool)
    with tempfile.TemporaryDirectory() as tmp:
        wav = os.path.join(tmp, "fail.wav")
        write_wav(wav, fail_buzz())
        encode(wav, os.path.join(data_dir, "fail.ogg"))
        speech(data_dir, tmp)
        music(data_dir, tmp, log)
    log("sounds: fail and %d speech lines" % len(SPEECH))
