"""What the program opens, under strace: no network, nothing written, links only to the fixed addresses and
never through a shell, images only from its own folder by their fixed names, even when started from a folder
holding others."""
import re
import subprocess

from .app import expect, heard
from .check import check

TRACED = ("execve,execveat,open,openat,openat2,creat,chdir,fchdir,socket,connect,bind,rename,renameat,renameat2,"
          "mkdir,mkdirat,unlink,unlinkat,truncate,ftruncate,link,linkat,symlink,symlinkat")
IMAGES = ("verde.png", "rosso.png", "slider.png", "verde@2x.png", "rosso@2x.png", "slider@2x.png")


def joined(lines):
    """strace's lines with each call that another thread interrupted ("<unfinished ...>") joined to its
    "<... resumed>" end, so a call and its result stand on one line."""
    out, pending = [], {}
    for l in lines:
        pid = l.split(" ", 1)[0]
        if l.endswith(" <unfinished ...>"):
            pending[pid] = l[:-len(" <unfinished ...>")]
            continue
        resumed = re.match(r"^\d+ +<\.\.\. \w+ resumed>(.*)$", l)
        if resumed and pid in pending:
            out.append(pending.pop(pid) + resumed.group(1))
            continue
        out.append(l)
    return out + list(pending.values())


def traced(run):
    """The trace of a whole session (a band, About's three links, Help, the close box): all its lines, and the
    program's own (the processes that never ran another executable than the program)."""
    if "trace" in run.__dict__:
        return run.trace
    decoy = run.work.path("decoy")
    decoy.mkdir(exist_ok=True)
    for name in IMAGES:  # lamp images of its own, in the launching folder: they must never be read
        subprocess.run(["/usr/bin/convert", "-size", "50x50", "xc:blue", str(decoy / name)], check=True)
    trace = run.work.path("trace")
    began = run.recording.ms()
    app = run.fresh(cwd=decoy, wrapper=("strace", "-f", "-qq", "--seccomp-bpf", "-o", str(trace), "-e",
                                        "trace=" + TRACED))
    app.press(5)
    heard(run.ear.alone(app.strip(5).hz, 0.2), "the band did not sound under strace")
    app.expect_lamp(5, "red")
    before = len(run.opened())
    for i, link in enumerate(run.layout.about.links()):
        app.open_menu(2)
        dialog = app.other_window()
        run.desktop.click_control(dialog, link)
        expect(app.wait_windows(1), "About stayed open")
        from .processes import wait_for
        expect(wait_for(lambda: len(run.opened()) >= before + i + 1, 5), "link %d opened nothing" % i)
    app.open_menu(1)
    dialog = app.other_window()
    run.desktop.click_control(dialog, run.layout.help.control("OK"))
    expect(app.wait_windows(1), "Help stayed open")
    run.desktop.close_box(app.window)
    app.exited_with(0)
    run.app = None
    run.excused.append((began, run.recording.ms() + 300))
    lines = joined(trace.read_text().splitlines())
    program = str(run.program.name)
    children = {l.split()[0] for l in lines if re.match(r"^\d+ +execve\(", l) and not re.search(r'/%s"' % re.escape(program), l)}
    run.trace = {"all": lines, "program": [l for l in lines if l.split()[0] not in children],
                 "opened": run.opened()[before:], "decoy": str(decoy)}
    return run.trace


@check("a session under strace: a band, About's three links, Help, the close box", group="session",
       needs={"linux", "screenshots"}, deadline=120)
def traced_session(run):
    run.__dict__.pop("trace", None)
    traced(run)


@check("the links opened exactly the three fixed addresses", needs={"linux", "screenshots"})
def links_fixed(run):
    opened = traced(run)["opened"]
    wanted = [link.address for link in run.layout.about.links()]
    expect(opened == wanted, "opened %s, wanted %s" % (opened, wanted))


@check("the program made no network socket and no network connection", needs={"linux", "screenshots"})
def no_network(run):
    bad = [l for l in traced(run)["program"]
           if re.search(r"socket\(AF_INET6?,|connect\(\d+, \{sa_family=AF_INET6?,|socket\(AF_PACKET", l)]
    expect(not bad, "\n".join(bad))


@check("the program opened no file for writing and created, renamed or removed none", needs={"linux", "screenshots"})
def writes_nothing(run):
    bad = []
    # GTK on Wayland reads its settings through dconf, which makes its folder in the runtime folder and opens
    # its one-byte change flag there for writing: the settings layer's, not files of the program's.
    dconf = '"%s/dconf' % run.work.env["XDG_RUNTIME_DIR"]
    for l in traced(run)["program"]:
        if dconf + '"' in l or dconf + '/user"' in l:
            continue
        if re.search(r"(open|openat|openat2|creat)\(", l) and re.search(r"O_WRONLY|O_RDWR|O_CREAT|O_TRUNC|O_APPEND|creat\(", l) \
                and not re.search(r'"/dev/|= -1 ', l):
            bad.append(l)
        if re.match(r"^\d+ +(rename|renameat|renameat2|mkdir|mkdirat|unlink|unlinkat|truncate|link|linkat|symlink|symlinkat)\(", l) \
                and "= -1 " not in l:
            bad.append(l)
    expect(not bad, "\n".join(bad))


@check("no shell was run to open the links", needs={"linux", "screenshots"})
def no_shell(run):
    # The desktop's handler for web addresses is a script here: the kernel runs it, and strace shows its path.
    bad = [l for l in traced(run)["all"] if re.match(r'^\d+ +execve\("[^"]*/(sh|bash|dash|zsh|busybox)"', l)]
    expect(not bad, "\n".join(bad))


@check("lamp images were read only by their fixed names in the program's folder, never the launching folder's",
       needs={"linux", "screenshots"})
def images_from_own_folder(run):
    t = traced(run)
    folder = str(run.program.resolve().parent)
    program = t["program"]
    to = 'chdir("%s"' % folder
    expect(any(to in l for l in program), "no chdir to %s: %s" % (folder, [l for l in program if "chdir" in l]))
    names = "|".join(re.escape(n) for n in IMAGES)
    there = False
    for l in program:
        if to in l:
            there = True
        expect(there or not re.search(r'"(%s)"' % names, l), "read before the change of folder: %s" % l)
    bad = [l for l in program if re.search(r'open(at)?\(.*\.(png|PNG)"', l) and re.search(names, l)
           and not re.search(r'"(%s)"|"%s/(%s)"' % (names, re.escape(folder), names), l)]
    expect(not bad, "\n".join(bad))
    bad = [l for l in program if t["decoy"] in l]
    expect(not bad, "the launching folder was read: %s" % bad)
