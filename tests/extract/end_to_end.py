#!/usr/bin/env python3
"""Fennlow.exe under wine64, driven from outside as a person would: click 导入文件, type the package's
path into the real open dialog, press Return, then read the picture box's pixels off the screen. The
run directory has a Chinese name; once an icon is shown, the mouse drags it from the picture box onto
an OLE drop target of another process, which must receive the icon file's path.

Runs in a private Xvfb display and a private copy of the Wine prefix, so no other window can cover
the picture box. Prints 'N passed, N failed' and exits non-zero on any failure."""
import argparse
import json
import os
import shutil
import subprocess
import sys
import tempfile
import time

CHECKS = []


def check(ok, what):
    CHECKS.append((bool(ok), what))
    print(('ok   ' if ok else 'FAIL ') + what, flush=True)


def wait_for(predicate, timeout, step=0.25):
    end = time.time() + timeout
    while time.time() < end:
        value = predicate()
        if value:
            return value
        time.sleep(step)
    return predicate()


class Desktop:
    """A private X display, a private Wine prefix and the program's run directory."""

    def __init__(self, args, work):
        self.args = args
        self.work = work
        self.env = dict(os.environ)
        self.env['WINEDEBUG'] = '-all'
        shared = os.environ.get('WINEPREFIX') or os.path.join(os.path.dirname(os.path.dirname(args.wine_run)),
                                                              'build', 'wineprefix')
        self.env['WINEPREFIX'] = os.path.join(work, 'prefix')
        if os.path.exists(os.path.join(shared, '.fennlow-ready')):
            subprocess.run(['cp', '-a', shared, self.env['WINEPREFIX']], check=True)
        self.display = next(n for n in range(140, 200) if not os.path.exists('/tmp/.X11-unix/X%d' % n))
        self.env['DISPLAY'] = ':%d' % self.display
        self.xvfb = subprocess.Popen(['Xvfb', self.env['DISPLAY'], '-screen', '0', '1024x768x24', '-nolisten', 'tcp'],
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, start_new_session=True)
        wait_for(lambda: subprocess.run(['xdpyinfo'], env=self.env, capture_output=True).returncode == 0, 20)
        self.program = None

    def wine(self, *argv, **kw):
        return subprocess.run([self.args.wine_run, *argv], env=self.env, cwd=self.work, capture_output=True, **kw)

    def start(self, exe, cwd):
        self.program = subprocess.Popen([self.args.wine_run, exe], env=self.env, cwd=cwd,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def controls(self):
        # A fresh copy of the prefix is brought up to date by the first Wine process; a probe
        # started meanwhile can wait a long time, so it is only asked once the window is mapped.
        if not self.window_rect('Fennlow  -by Quaddle Tarvin'):
            return None
        try:
            done = self.wine(os.path.join(self.args.bin, 'extract_window_probe.exe'), 'Fennlow', timeout=60)
        except subprocess.TimeoutExpired:
            return None
        if done.returncode != 0:
            return None
        found = {}
        for line in done.stdout.decode('gbk', 'replace').splitlines():
            cls, left, top, right, bottom, text = line.rstrip('\r').split('|', 5)
            found.setdefault(text or cls, []).append((cls, int(left), int(top), int(right), int(bottom)))
        return found

    def xdotool(self, *argv):
        return subprocess.run(['xdotool', *argv], env=self.env, capture_output=True, text=True)

    def click(self, rect):
        _, left, top, right, bottom = rect
        self.xdotool('mousemove', str((left + right) // 2), str((top + bottom) // 2))
        self.xdotool('click', '1')

    def pixel(self, x, y):
        shot = subprocess.run(['import', '-window', 'root', '-crop', '1x1+%d+%d' % (x, y), '-depth', '8', 'rgb:-'],
                              env=self.env, capture_output=True)
        return shot.stdout[:3].hex() if len(shot.stdout) >= 3 else None

    def start_drop_target(self, x, y, out):
        return subprocess.Popen([self.args.wine_run, self.args.probe, 'target', str(x), str(y), out],
                                env=self.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def window_rect(self, title):
        found = self.xdotool('search', '--name', '^%s$' % title).stdout.split()
        if not found:
            return None
        shape = dict(line.split('=') for line in self.xdotool('getwindowgeometry', '--shell', found[0]).stdout.split())
        return int(shape['X']), int(shape['Y']), int(shape['WIDTH']), int(shape['HEIGHT'])

    def drag(self, start, end, steps=12):
        self.xdotool('mousemove', str(start[0]), str(start[1]))
        time.sleep(0.3)
        self.xdotool('mousedown', '1')
        time.sleep(0.5)
        for i in range(1, steps + 1):
            self.xdotool('mousemove', str(start[0] + (end[0] - start[0]) * i // steps),
                         str(start[1] + (end[1] - start[1]) * i // steps))
            time.sleep(0.1)
        time.sleep(0.5)
        self.xdotool('mouseup', '1')

    def dialog_open(self):
        found = self.xdotool('search', '--onlyvisible', '--name', '^(Open|打开)$')
        return found.stdout.split()

    def close(self):
        if self.program and self.program.poll() is None:
            self.program.kill()  # the wine64 process this script started
            self.program.wait()
        self.xvfb.terminate()
        self.xvfb.wait()


def close_colour(a, b, tolerance=12):
    return a is not None and b is not None and all(
        abs(int(a[i:i + 2], 16) - int(b[i:i + 2], 16)) <= tolerance for i in (0, 2, 4))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('--bin', required=True)
    parser.add_argument('--fixtures', required=True)
    parser.add_argument('--table', required=True)
    parser.add_argument('--wine-run', required=True)
    parser.add_argument('--probe', required=True, help='dnd_probe_window.exe, the drop target')
    args = parser.parse_args()
    with open(args.table, encoding='utf-8') as f:
        table = {x['name']: x for x in json.load(f)['fixtures']}

    work = tempfile.mkdtemp(prefix='extract-e2e-')
    desk = None
    try:
        run = os.path.join(work, '运行 目录')  # the icon's path carries Chinese into the drag
        apks = os.path.join(work, 'apks')
        os.makedirs(run)
        os.makedirs(apks)
        for name in ('Fennlow.exe', 'zlibwapi.dll'):
            shutil.copy(os.path.join(args.bin, name), run)
        desk = Desktop(args, work)
        desk.start(os.path.join(run, 'Fennlow.exe'), cwd=apks)
        controls = wait_for(desk.controls, 180, step=1)
        check(controls is not None, 'Fennlow window found')
        if not controls:
            return
        import_button = controls['导入文件'][0]
        mode2 = controls['模式2'][0]
        box = next(r for rs in controls.values() for r in rs
                   if r[0] != 'client' and 150 <= r[3] - r[1] <= 200 and r[3] - r[1] == r[4] - r[2])
        centre = ((box[1] + box[3]) // 2, (box[2] + box[4]) // 2)
        empty = desk.pixel(*centre)
        check(os.path.exists(os.path.join(run, 'pt.exe')) and os.path.exists(os.path.join(run, 'uz.exe')),
              'pt.exe and uz.exe written into the run directory')

        def do_import(fixture):
            apk = os.path.join(apks, table[fixture]['file'])
            shutil.copy(os.path.join(args.fixtures, table[fixture]['file']), apk)
            desk.click(import_button)
            if not wait_for(desk.dialog_open, 30):
                check(False, '%s: open dialog appeared' % fixture)
                return False
            desk.xdotool('key', 'ctrl+a')
            desk.xdotool('type', '--delay', '15', 'Z:' + apk.replace('/', '\\'))
            desk.xdotool('key', 'Return')
            closed = wait_for(lambda: not desk.dialog_open(), 30)
            check(closed, '%s: dialog confirmed' % fixture)
            return closed

        def expect_colour(fixture, mode):
            want = table[fixture]['expect']['icon']['rgba'][:6]
            if not do_import(fixture):
                return
            got = wait_for(lambda: (lambda p: p if close_colour(p, want) else None)(desk.pixel(*centre)), 40)
            check(got, 'mode %d %s: picture centre %s, expected %s' % (mode, fixture, desk.pixel(*centre), want))

        def expect_still(fixture, mode, colour, what):
            if not do_import(fixture):
                return
            time.sleep(8)  # the import runs the tools; the window answers again when it is done
            desk.xdotool('mousemove', '0', '0')
            got = desk.pixel(*centre)
            check(close_colour(got, colour), 'mode %d %s: %s (%s, expected %s)' % (mode, fixture, what, got, colour))

        def drag_icon_out(icon_file):
            """Presses the picture box and releases the mouse over another process's drop target."""
            out = os.path.join(work, 'dropped.txt')
            target = desk.start_drop_target(560, 420, 'Z:' + out.replace('/', '\\'))
            try:
                rect = wait_for(lambda: desk.window_rect('FennlowDndTarget'), 60)
                check(rect, 'drop target window appeared')
                if not rect:
                    return
                time.sleep(1)
                desk.drag(centre, (rect[0] + rect[2] // 2, rect[1] + rect[3] // 2))
                target.wait(timeout=30)
            except subprocess.TimeoutExpired:
                pass
            finally:
                if target.poll() is None:
                    target.kill()
                    target.wait()
            got = open(out, encoding='utf-8').read().splitlines() if os.path.exists(out) else []
            want = ['Z:' + icon_file.replace('/', '\\')]
            check(got == want and os.path.exists(icon_file),
                  'icon dragged from the picture box: target read %r, expected %r' % (got, want))

        expect_colour('png_densities', 1)
        check(os.path.exists(os.path.join(run, 'icon', 'ic_launcher.png')), 'mode 1 left icon\\ic_launcher.png')
        expect_still('no_icon', 1, desk.pixel(*centre), 'no icon: the picture stays')
        expect_colour('webp_only', 1)
        expect_colour('xml_last', 1)
        expect_colour('same_name_a', 1)
        expect_colour('same_name_b', 1)  # same icon\ic_launcher.png: the second package's is shown
        drag_icon_out(os.path.join(run, 'icon', 'ic_launcher.png'))
        expect_colour('root_icon', 1)
        expect_still('hostile_amp', 1, empty, 'hostile entry: nothing extracted, picture cleared')
        pwned = [os.path.join(d, f) for d, _, fs in os.walk(work) if 'prefix' not in d
                 for f in fs if f == 'fennlow-pwned.txt']
        check(not pwned, 'no command ran from a hostile entry %s' % pwned)
        desk.click(mode2)
        expect_colour('drawable_only', 2)
        expect_still('crc_error', 2, empty, 'CRC error: picture cleared')
        expect_colour('mixed_png_webp', 2)
        expect_still('not_zip', 2, desk.pixel(*centre), 'not a zip: the picture stays')
        expect_colour('png_densities', 2)
    except Exception as error:  # noqa: BLE001 - reported as a failed check, with its trace
        import traceback
        traceback.print_exc()
        check(False, 'driver error: %r' % error)
    finally:
        if desk:
            subprocess.run(['import', '-window', 'root', os.path.join(tempfile.gettempdir(), 'extract-e2e-last.png')],
                           env=desk.env, capture_output=True)
            desk.close()
        shutil.rmtree(work, ignore_errors=True)
        passed = sum(1 for ok, _ in CHECKS if ok)
        failed = len(CHECKS) - passed
        print('%d passed, %d failed' % (passed, failed))
        sys.exit(1 if failed or not CHECKS else 0)


if __name__ == '__main__':
    main()
