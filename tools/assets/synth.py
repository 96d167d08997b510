"""Instrument samples made from scratch: plucked strings, bars, bells and chip
waves, all at 44100 Hz, without a loop, ending in a short fade to silence so
the player's voice ends by itself soon after the note."""
import numpy as np

RATE = 44100


def _t(seconds):
    return np.arange(int(seconds * RATE)) / RATE


def _finish(x, seconds, peak=0.85, tail=0.03):
    """Normalise, then fade the last `tail` seconds to exactly zero."""
    x = np.asarray(x, dtype=np.float64)[: int(seconds * RATE)]
    x = x - np.mean(x[: min(len(x), 2048)]) * 0  # keep DC as drawn; the sounds are zero-mean
    m = np.max(np.abs(x)) or 1.0
    x = x / m * peak
    n = int(tail * RATE)
    x[-n:] *= np.linspace(1, 0, n) ** 2
    x[:32] *= np.linspace(0, 1, 32)
    return np.round(x * 32767).astype(np.int16)


def bell(f0, seconds=0.6, seed=0):
    """Soft bell: slightly stretched partials, the high ones dying first."""
    t = _t(seconds)
    parts = [(1.0, 1.0, 3.0), (2.0, 0.45, 5.0), (3.01, 0.25, 8.0), (4.16, 0.18, 11.0), (5.43, 0.1, 15.0)]
    x = sum(a * np.sin(2 * np.pi * f0 * r * t) * np.exp(-d * t) for r, a, d in parts)
    x *= 1 - np.exp(-t / 0.002)
    return _finish(x, seconds)


def marimba(f0, seconds=0.6):
    """Wooden bar: fundamental with the bar's 4x and 10x modes and a soft mallet click."""
    t = _t(seconds)
    x = np.sin(2 * np.pi * f0 * t) * np.exp(-t * 6)
    x += 0.35 * np.sin(2 * np.pi * f0 * 3.93 * t) * np.exp(-t * 18)
    x += 0.12 * np.sin(2 * np.pi * f0 * 9.5 * t) * np.exp(-t * 40)
    x *= 1 - np.exp(-t / 0.0015)
    return _finish(x, seconds)


def measured_pitch(x, lo=50, hi=2500):
    """Fundamental by autocorrelation over a stretch after the attack."""
    x = x.astype(np.float64)[1500:1500 + 8192]
    x = x - x.mean()
    ac = np.correlate(x, x, "full")[len(x) - 1:]
    mn, mx = int(RATE / hi), int(RATE / lo)
    lag = mn + int(np.argmax(ac[mn:mx]))
    a, b, c = ac[lag - 1], ac[lag], ac[lag + 1]
    return RATE / (lag + 0.5 * (a - c) / (a - 2 * b + c))


def pluck(f0, seconds=0.6, brightness=0.5, seed=1, pick=0.18):
    """Karplus-Strong string, retuned twice because the loop filter and the
    interpolation lengthen the loop by a fraction of a sample."""
    f = f0
    for _ in range(3):
        x = _pluck(f, seconds, brightness, seed, pick)
        f *= f0 / measured_pitch(x)
    return x


def _pluck(f0, seconds, brightness, seed, pick):
    rng = np.random.RandomState(seed)
    n = int(seconds * RATE)
    period = RATE / f0
    p = int(period)
    frac = period - p
    buf = rng.uniform(-1, 1, p + 2)
    shift = max(1, int(p * pick))
    buf = buf - np.roll(buf, shift)
    out = np.zeros(n)
    line = list(buf)
    damp = 0.5 + 0.5 * brightness
    prev = 0.0
    idx = 0
    L = len(line)
    for i in range(n):
        a = line[idx % L]
        b = line[(idx + 1) % L]
        v = a * (1 - frac) + b * frac
        newv = damp * v + (1 - damp) * prev
        prev = v
        newv *= 0.996
        out[i] = a
        line[idx % L] = newv
        idx += 1
    env = np.exp(-_t(seconds) * 2.5)
    return _finish(out * env, seconds)


def fm_bell(f0, seconds=0.6, ratio=2.0, index=2.4, chorus=0.004):
    """Glassy FM bell with a slight chorus: two detuned voices, decaying index."""
    t = _t(seconds)
    x = 0
    for det in (1 - chorus, 1 + chorus):
        mod = index * np.exp(-t * 5) * np.sin(2 * np.pi * f0 * ratio * det * t)
        x = x + np.sin(2 * np.pi * f0 * det * t + mod)
    x *= np.exp(-t * 4.0) * (1 - np.exp(-t / 0.004))
    return _finish(x, seconds)


def clean_bell(f0, seconds=0.6):
    t = _t(seconds)
    x = np.sin(2 * np.pi * f0 * t) + 0.3 * np.sin(2 * np.pi * f0 * 2 * t) * np.exp(-t * 4)
    x += 0.12 * np.sin(2 * np.pi * f0 * 3 * t) * np.exp(-t * 8)
    x *= np.exp(-t * 3.5) * (1 - np.exp(-t / 0.002))
    return _finish(x, seconds)


def chip_pulse(f0, seconds=0.9, duty=0.25, decay=1.2):
    """Band-limited-ish pulse (sum of harmonics below 12 kHz) with a gentle decay."""
    t = _t(seconds)
    x = np.zeros_like(t)
    k = 1
    while f0 * k < 12000:
        x += (2 / (k * np.pi)) * np.sin(k * np.pi * duty) * np.cos(2 * np.pi * f0 * k * t)
        k += 1
    x *= np.exp(-t * decay)
    return _finish(x, seconds, peak=0.6)


def chip_bass(f0, seconds=0.5):
    t = _t(seconds)
    phase = (f0 * t) % 1.0
    x = 1 - 4 * np.abs(phase - 0.5)  # triangle
    x = np.tanh(2.2 * x)
    x *= np.exp(-t * 4)
    return _finish(x, seconds, peak=0.8)


def kick(seconds=0.3):
    t = _t(seconds)
    f = 50 + 110 * np.exp(-t * 30)
    ph = 2 * np.pi * np.cumsum(f) / RATE
    x = np.sin(ph) * np.exp(-t * 12)
    return _finish(x, seconds, peak=0.95, tail=0.02)


def snare(seconds=0.25, seed=7):
    rng = np.random.RandomState(seed)
    t = _t(seconds)
    noise = rng.uniform(-1, 1, len(t))
    noise = np.convolve(noise, [0.5, 0, -0.5], mode="same")
    x = noise * np.exp(-t * 16) + 0.5 * np.sin(2 * np.pi * 190 * t) * np.exp(-t * 25)
    return _finish(x, seconds, peak=0.8, tail=0.02)


def hat(seconds=0.08, seed=9):
    rng = np.random.RandomState(seed)
    t = _t(seconds)
    noise = rng.uniform(-1, 1, len(t))
    noise = noise - np.convolve(noise, np.ones(4) / 4, mode="same")
    return _finish(noise * np.exp(-t * 60), seconds, peak=0.5, tail=0.01)


def pad(f0, seconds=1.6, seed=3):
    """Warm pad for songs: detuned saws through a gentle low-pass, slow attack and release."""
    t = _t(seconds)
    x = np.zeros_like(t)
    for det in (0.994, 1.0, 1.006):
        k = 1
        while f0 * k < 6000:
            x += np.sin(2 * np.pi * f0 * det * k * t) / k * np.exp(-k * 0.18)
            k += 1
    env = np.minimum(1, t / 0.12) * np.exp(-t * 0.9)
    return _finish(x * env, seconds, peak=0.6, tail=0.25)


def level(x, rms_db=-13.0, window=0.3, ceiling=0.95):
    """Matches loudness across instruments: scales the first `window` seconds to
    the same RMS, then rounds off any peak above the ceiling (plucked attacks)."""
    y = np.asarray(x, dtype=np.float64) / 32768
    n = int(window * RATE)
    rms = np.sqrt(np.mean(y[:n] ** 2)) or 1.0
    y *= 10 ** (rms_db / 20) / rms
    over = np.abs(y) > ceiling * 0.8
    knee = ceiling * 0.8
    y = np.where(over, np.sign(y) * (knee + (ceiling - knee) * np.tanh((np.abs(y) - knee) / (ceiling - knee))), y)
    return np.round(y * 32767).astype(np.int16)
