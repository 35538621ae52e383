"""A demonstration where there is no display: the real program on a private virtual display with a private
sound server, played as a user would through the end-to-end harness. Leaves a screenshot and a WAV of all
that came out under build/demo/, and prints what was heard and how long each step took."""
import argparse
import shutil
import subprocess
import sys
import time

from .app import App
from .processes import wait_for
from .run import REPO, Run, adapter
from .sound_server import SoundServer


def heard_now(run):
    """Each tone of the last 150 ms with its level, or silence."""
    out = run.ear.ask("tones", "--last", 150).stdout
    tones = []
    for line in out.splitlines():
        parts = line.split()
        if parts and parts[0] == "tone" and float(parts[4]) >= 0.001 and len(tones) < 6:
            tones.append("%s Hz at %.3f" % (parts[1], float(parts[4])))
    return ", ".join(tones) or "silence"


def main():
    sound = next((name for name in ("pulseaudio", "pipewire")
                  if adapter("sound", name, SoundServer).missing() is None), "pulseaudio")
    args = argparse.Namespace(desktop="x11", sound=sound, group=["session"], only=None, program=None, option=[],
                              cell="demo", build=str(REPO / "build"))
    run = Run(args)
    why = run.missing()
    if why:
        print("demo: %s" % why)
        return 1
    out = REPO / "build" / "demo"
    out.mkdir(parents=True, exist_ok=True)
    try:
        run.start()
        print("Raziz demonstration on a virtual display (%s) and a virtual %s server (48 kHz float)"
              % (run.desktop.program_env()["DISPLAY"], sound))

        def step(what, action, *wanted):
            began = time.monotonic()
            result = action()
            if wanted:
                run.ear.hear(*wanted)
            took = (time.monotonic() - began) * 1000
            run.recording.wait_ms(150)  # the change settled
            print("%-46s %5.0f ms   heard: %s" % (what, took, heard_now(run)))
            return result

        app = step("start-up until the window is seen painted", lambda: App.start(run))
        step("switch on 1000 Hz", lambda: app.press(3), "--tone", "1000:0.2")

        def type_750():
            app.replace_text(0, "frequency", "750")
            app.press(0)
        step("type 750 into the 500 Hz strip, switch it on", type_750, "--tone", "750:0.2", "--tone", "1000:0.2")

        def raise_level():
            strip = app.strip(0)
            x, y = run.desktop.control_point(app.window, strip.slider, None, strip.slider.rect[3] / 2)
            run.desktop.drag(x, y, x, y - 60)
        step("raise the 750 Hz level with its slider", raise_level, "--tone-above", "750:0.6", "--tone", "1000:0.2")

        def square():
            app.click(0, "square")
            app.press(0)
            app.press(0)
        step("750 Hz strip to SQUARE (off and on again)", square, "--harmonic", "750:3:0.33333", "--harmonic",
             "750:5:0.2", "--tone", "1000:0.2")
        time.sleep(0.5)
        run.desktop.screenshot(out / "raziz.png")

        def leave():
            app.open_menu(3)
            return app.process.wait(5)
        status = step("File > Exit", leave, "--silent")
        print("%-46s exit status %s" % ("", status))
        run.recording.wait_ms(200)
        ending = run.ear.ask("ending").stdout.strip()
        run.recording.stop()
        subprocess.run(["sox", "-V1", "-t", "raw", "-e", "floating-point", "-b", "32", "-r", "48000", "-c", "2",
                        str(run.recording.path), "-e", "floating-point", "-b", "32", str(out / "session.wav")])
        print()
        print("exit:   %s" % ending)
        print("screenshot: %s" % (out / "raziz.png"))
        print("sound:      %s" % (out / "session.wav"))
        return 0
    finally:
        run.app = None
        run.close()
        if run.artefacts.exists():
            shutil.rmtree(run.artefacts)


if __name__ == "__main__":
    sys.exit(main())
