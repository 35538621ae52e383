"""How clean the tone is that reaches the sound server. Float output carries a sine with a residue far below
anything a 16-bit path could give; where the device takes only 16 bits (DirectSound, forced with
RAZIZ_AUDIO_OUTPUT), the dither must leave no harmonic of a quiet tone standing above its noise."""
import numpy

from .app import expect, heard
from .check import check
from .scenario import leave_clean, ready
from .sound_server import CHANNELS, FRAME_BYTES, RATE

HZ = 1000
QUIET = round(5 / 199.92, 5)   # slider value 5: End, then Up four times


def recent(run, seconds):
    """The last seconds of the recording's first channel, as float64."""
    with open(run.recording.path, "rb") as f:
        f.seek(0, 2)
        frames = f.tell() // FRAME_BYTES
        start = max(0, frames - int(seconds * RATE))
        f.seek(start * FRAME_BYTES)
        data = numpy.frombuffer(f.read((frames - start) * FRAME_BYTES), "<f4")
    return data[0::CHANNELS].astype(numpy.float64)


def thd_plus_noise_db(x, hz):
    """Everything but the fitted sinusoid (harmonics, noise, DC), re the sinusoid's power."""
    n = numpy.arange(len(x))
    phase = 2 * numpy.pi * ((n * hz) % RATE) / RATE
    basis = numpy.stack([numpy.sin(phase), numpy.cos(phase), numpy.ones(len(x))], 1)
    coef = numpy.linalg.lstsq(basis, x, rcond=None)[0]
    residue = x - basis @ coef
    power = (coef[0] ** 2 + coef[1] ** 2) / 2
    return 10 * numpy.log10(max(numpy.mean(residue ** 2), 1e-300) / power)


def steady(x, level, tolerance_db=0.1):
    """True when every 10 ms of x holds the sine's RMS: no gap, no ramp."""
    window = RATE // 100
    blocks = x[:len(x) // window * window].reshape(-1, window)
    rms = numpy.sqrt(numpy.mean(blocks ** 2, axis=1)) / (level / numpy.sqrt(2))
    return bool(numpy.all(numpy.abs(20 * numpy.log10(rms + 1e-30)) <= tolerance_db))


def steady_parts(x, level, length):
    """The pieces of x of the given length that are steady. A loaded machine may let wine's or the server's
    stream run dry for a few milliseconds; such a gap says nothing about the samples' resolution."""
    return [x[i:i + length] for i in range(0, len(x) - length + 1, length) if steady(x[i:i + length], level)]


def harmonics_over_noise_db(parts, hz):
    """The strongest of harmonics 2..20 re the median noise between them, from Kaiser-windowed spectra of the
    parts (all of one length) averaged; each component is the power over the window's main lobe."""
    n = len(parts[0])
    window = numpy.kaiser(n, 20.0)
    power = numpy.zeros(n // 2 + 1)
    for x in parts:
        power += numpy.abs(numpy.fft.rfft(x * window)) ** 2

    def lobe(f):
        k = round(f * n / RATE)
        return power[k - 8:k + 9].sum()
    noise = numpy.median([lobe((h + 0.5) * hz) for h in range(1, 20)])
    return max(10 * numpy.log10(lobe(h * hz) / noise) for h in range(2, 21))


def sounding_alone(run, level, seconds):
    """Waits for the tone to hold alone at level, then for seconds more of it."""
    heard(run.ear.alone(HZ, level), "%d Hz is not alone at %s" % (HZ, level))
    run.recording.wait_ms(int(seconds * 1000))


@check("1000 Hz at 0.2 reaches the sound server pure: THD+N at most -140 dB")
def pure_sine(run):
    app = ready(run)
    app.press(3)
    sounding_alone(run, 0.2, 3)
    parts = steady_parts(recent(run, 2.5), 0.2, RATE // 4)
    expect(parts, "no quarter second of the last 2.5 s held the tone without a gap")
    thdn = min(thd_plus_noise_db(x, HZ) for x in parts)
    run.figures["THD+N of 1000 Hz at 0.2"] = "%.1f dB (best of %d steady quarter seconds)" % (thdn, len(parts))
    app.press(3)
    heard(run.ear.silence(), "not silent")
    expect(thdn <= -140, "THD+N %.1f dB: the samples lost resolution on their way" % thdn)
    leave_clean(run)


@check("a quiet tone through 16-bit DirectSound is dithered: no harmonic above the noise", needs={"keys"},
       deadline=90, left_out={"x11": "DirectSound is Windows's", "wayland": "DirectSound is Windows's"})
def dithered_directsound(run):
    app = run.fresh(env={"RAZIZ_AUDIO_OUTPUT": "directsound"})
    app.press(3)
    heard(run.ear.alone(HZ, 0.2), "%d Hz did not sound" % HZ)
    app.click(3, "frequency")
    run.desktop.press_keys("Tab", "Tab", "Tab", "Tab", "End", "Up", "Up", "Up", "Up")   # to the slider, value 5
    sounding_alone(run, QUIET, 8)
    parts = steady_parts(recent(run, 8), QUIET, RATE // 2)
    expect(len(parts) >= 4, "fewer than four half seconds of the last eight held the tone without a gap")
    thdn = numpy.median([thd_plus_noise_db(x, HZ) for x in parts])
    # Judged half second by half second, by the median: a missing dither shows in every one of them, while a
    # hiccup of wine's sound bridge spoils only the one it falls in.
    each = [harmonics_over_noise_db([x], HZ) for x in parts]
    worst = numpy.median(each)
    run.figures["DirectSound at %s" % QUIET] = (
        "THD+N %.1f dB; strongest harmonic %+.1f dB re the noise (median of %d half seconds, highest %+.1f)"
        % (thdn, worst, len(each), max(each)))
    run.end_program()
    # 16 bits with triangular dither leave a hiss about 61 dB below this tone; far less means the samples did not
    # go through 16 bits, and the check would prove nothing.
    expect(-70 <= thdn <= -50, "THD+N %.1f dB is not that of 16-bit samples: was DirectSound used?" % thdn)
    expect(worst <= 8, "a harmonic stands %.1f dB above the noise: the 16-bit samples are not dithered" % worst)
