"""What was heard, judged by the analysis tool (tests/e2e/raziz_e2e_sound.cpp) on the recording."""
import subprocess

import numpy

from .processes import wait_for
from .sound_server import CHANNELS, RATE


class Ear:
    def __init__(self, tool, recording):
        self.tool = str(tool)
        self.recording = recording

    def ask(self, *args):
        return subprocess.run([self.tool, args[0], str(self.recording.path), *map(str, args[1:])],
                              capture_output=True, text=True, timeout=180)

    def hear(self, *args, timeout=4.0):
        """Waits until the last 150 ms are as asked (raziz-e2e-sound expect); None when they are, else what
        the tool says was heard."""
        if wait_for(lambda: self.ask("expect", "--last", 150, *args).returncode == 0, timeout):
            return None
        r = self.ask("expect", "--last", 150, *args)
        return None if r.returncode == 0 else (r.stdout + r.stderr).strip()

    def silence(self, timeout=4.0):
        return self.hear("--silent", timeout=timeout)

    def alone(self, hz, level, timeout=4.0):
        """A band sounding alone, as a sine at the level."""
        return self.hear("--tone", "%s:%s" % (hz, level), "--others-below", -70, timeout=timeout)

    def tones(self, *pairs, timeout=4.0):
        args = []
        for hz, level in pairs:
            args += ["--tone", "%s:%s" % (hz, level)]
        return self.hear(*args, "--others-below", -70, timeout=timeout)

    def clicks(self, from_ms=None, to_ms=None):
        """None when there is no click or gap in the range, else what the tool found."""
        rng = []
        if from_ms is not None:
            rng += ["--from", max(0, from_ms)]
        if to_ms is not None:
            rng += ["--to", to_ms]
        r = self.ask("clicks", *rng)
        return None if r.returncode == 0 else (r.stdout + r.stderr).strip()

    def ending(self, from_ms):
        """None when the last sound after from_ms fades out, else what the tool found."""
        r = self.ask("ending", "--from", max(0, from_ms))
        return None if r.returncode == 0 else (r.stdout + r.stderr).strip() or "the tone stopped dead"

    def last_sound_ms(self, tail_seconds=20, dbfs=-60):
        """When the recording last rises above dbfs on its first channel, in ms; -1 when it never does."""
        frame = 4 * CHANNELS
        with open(self.recording.path, "rb") as f:
            f.seek(0, 2)
            frames = f.tell() // frame
            start = max(0, frames - tail_seconds * RATE)
            f.seek(start * frame)
            data = numpy.frombuffer(f.read((frames - start) * frame), "<f4")
        first = numpy.abs(data[0::CHANNELS])
        loud = numpy.nonzero(first > 10 ** (dbfs / 20))[0]
        return -1 if len(loud) == 0 else (start + int(loud[-1])) * 1000 // RATE
