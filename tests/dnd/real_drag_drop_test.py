#!/usr/bin/python3
"""Real drags under X with the mouse driven by xdotool.

1. The picture box of one Wine process is pressed and the mouse released over an OLE drop target of
   another Wine process: the target must read the icon file's path (Chinese characters included).
2. A GTK window drags three files (text/uri-list) onto a window with the program's FileDropTarget:
   each path must reach the callback whole and in code page 936, in order (a long and a Chinese one).
Usage: real_drag_drop_test.py PROBE_EXE WINE_RUN
"""
import os
import subprocess
import sys
import tempfile
import time

PROBE, WINE_RUN = sys.argv[1], sys.argv[2]
ENV_SH = os.path.join(os.path.dirname(WINE_RUN), "wine-env.sh")


def display():
    if os.environ.get("DISPLAY"):
        return os.environ["DISPLAY"]
    out = subprocess.run(["bash", "-c", f'source "{ENV_SH}"; fennlow_display; echo "$DISPLAY"'],
                         capture_output=True, text=True, check=True)
    return out.stdout.strip()


os.environ["DISPLAY"] = display()


def xdotool(*args):
    return subprocess.run(["xdotool", *map(str, args)], capture_output=True, text=True).stdout.strip()


def wait_window(title, timeout=60):
    deadline = time.time() + timeout
    while time.time() < deadline:
        found = xdotool("search", "--name", f"^{title}$")
        if found:
            time.sleep(1.0)  # let the window map and settle
            return found.split()[0]
        time.sleep(0.3)
    raise SystemExit(f"FAIL: window {title} did not appear")


def drag(from_xy, to_xy, steps=12):
    xdotool("mousemove", *from_xy)
    time.sleep(0.3)
    xdotool("mousedown", 1)
    time.sleep(0.5)
    for i in range(1, steps + 1):
        x = from_xy[0] + (to_xy[0] - from_xy[0]) * i // steps
        y = from_xy[1] + (to_xy[1] - from_xy[1]) * i // steps
        xdotool("mousemove", x, y)
        time.sleep(0.1)
    time.sleep(0.5)
    xdotool("mouseup", 1)


def windows_path(unix_path):
    return "Z:" + unix_path.replace("/", "\\")


def finish(process, timeout=30):
    try:
        process.wait(timeout=timeout)
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait()


def drag_icon_to_other_process(work):
    icon = os.path.join(work, "图标 ic_launcher.png")
    with open(icon, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
    out = os.path.join(work, "target.txt")
    target = subprocess.Popen([WINE_RUN, PROBE, "target", "760", "620", windows_path(out)])
    after = os.path.join(work, "source.txt")
    source = subprocess.Popen([WINE_RUN, PROBE, "source", "760", "200", windows_path(icon), windows_path(after)])
    try:
        wait_window("FennlowDndTarget")
        wait_window("FennlowDndSource")
        # Picture box at client (16, 16), 184 x 184: press in its middle, release over the target.
        box = xdotool("search", "--name", "^FennlowDndSource$").split()[0]
        geometry = dict(line.split("=") for line in xdotool("getwindowgeometry", "--shell", box).splitlines())
        start = (int(geometry["X"]) + 16 + 92, int(geometry["Y"]) + 16 + 92)
        tgt = xdotool("search", "--name", "^FennlowDndTarget$").split()[0]
        tgeo = dict(line.split("=") for line in xdotool("getwindowgeometry", "--shell", tgt).splitlines())
        end = (int(tgeo["X"]) + 150, int(tgeo["Y"]) + 110)
        drag(start, end)
        finish(target)
    finally:
        finish(source, 10)
        finish(target, 1)
    got = open(out, encoding="utf-8").read().splitlines() if os.path.exists(out) else []
    state = open(after).read().splitlines() if os.path.exists(after) else []
    expected = [windows_path(icon)]
    expected_state = ["after drag: formatStore 0, moduleCount 2"]
    return (got == expected and state == expected_state,
            f"OLE drag to another process: target read {got!r} (expected {expected!r}); source {state!r}")


GTK_SOURCE = r'''
import sys
import gi
gi.require_version("Gtk", "3.0")
from gi.repository import Gtk, Gdk, GLib
uris = sys.argv[1:]
window = Gtk.Window(title="FennlowGtkSource")
window.move(300, 640)
window.set_default_size(200, 160)
window.set_keep_above(True)
button = Gtk.Button(label="drag me")
button.drag_source_set(Gdk.ModifierType.BUTTON1_MASK, [], Gdk.DragAction.COPY)
button.drag_source_add_uri_targets()
button.connect("drag-data-get", lambda w, ctx, data, info, time: data.set_uris(uris))
button.connect("drag-end", lambda *a: GLib.timeout_add(500, Gtk.main_quit))
window.add(button)
window.connect("destroy", Gtk.main_quit)
window.show_all()
GLib.timeout_add(60000, Gtk.main_quit)
Gtk.main()
'''


def drop_files_from_x11(work):
    from pathlib import Path
    deep = Path(work, *["d" * 200 for _ in range(6)])
    deep.mkdir(parents=True)
    files = [Path(work, "first.apk"), Path(work, "下载 图标包.apk"), deep / ("长" * 20 + ".apk")]
    for f in files:
        f.write_bytes(b"PK")
    out = os.path.join(work, "dropped.txt")
    drop = subprocess.Popen([WINE_RUN, PROBE, "drop", "760", "620", windows_path(out)])
    gtk = subprocess.Popen(["/usr/bin/python3", "-c", GTK_SOURCE, *[f.as_uri() for f in files]])
    try:
        wait_window("FennlowDndDrop")
        src = wait_window("FennlowGtkSource")
        sgeo = dict(line.split("=") for line in xdotool("getwindowgeometry", "--shell", src).splitlines())
        dst = xdotool("search", "--name", "^FennlowDndDrop$").split()[0]
        dgeo = dict(line.split("=") for line in xdotool("getwindowgeometry", "--shell", dst).splitlines())
        drag((int(sgeo["X"]) + 100, int(sgeo["Y"]) + 80), (int(dgeo["X"]) + 150, int(dgeo["Y"]) + 110), steps=20)
        finish(drop)
    finally:
        finish(gtk, 10)
        finish(drop, 1)
    got = open(out).read().splitlines() if os.path.exists(out) else []
    expected = [windows_path(str(f)).encode("cp936").hex().upper() for f in files]
    ok = got == expected and len(windows_path(str(files[2]))) > 1023
    shown = [bytes.fromhex(g).decode("cp936", "replace") for g in got]
    if ok:
        return ok, f"X11 drop of three files in order, the last {len(shown[2])} characters long: {shown[:2]!r}"
    return ok, f"X11 drop of three files: got {shown!r}, expected {[windows_path(str(f)) for f in files]!r}"


def main():
    passed = failed = 0
    for case in (drag_icon_to_other_process, drop_files_from_x11):
        with tempfile.TemporaryDirectory(prefix="fennlow-dnd-") as work:
            ok, message = case(work)
        print(("PASS: " if ok else "FAIL: ") + message)
        passed += ok
        failed += not ok
    print(f"{passed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
