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
    for cand in ("build/tools/xmrender/xmrender", "build/tools/xmrender"):
        path = os.path.join(ROOT, cand)
        if os.path.isfile(path) and os.access(path, os.X_OK):
            return path
    return None


def music(data_dir, tmp, log):
    sources = music_songs.write_sources(os.path.join(HERE, "songs"))
    renderer = find_renderer()
    if renderer is None:
        log("music: tools/xmrender is not built; kept the existing music files "
            "(XM sources written to tools/assets/songs/)")
        return
    for name, xm in sources.items():
        wav = os.path.join(tmp, name + ".wav")
        subprocess.run([renderer, xm, wav], check=True)
        encode(wav, os.path.join(data_dir, name + ".ogg"))


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
