#!/usr/bin/env python3
"""Differential test of `pt dump badging` against Debian's `aapt dump badging`.

Well-formed package: both exit 0 and print the same lines, byte for byte and in the same order,
for every prefix the import and the reader of the badging rely on; pt adds exactly one
application-icon-best line right after its icon lines when the icon has a bitmap, naming the
table's expected path, and the import's lookup over pt's output picks the table's entry.

Broken package: pt exits non-zero, by itself (no signal), within the time bound and under the
memory limit, with exactly one line on stderr.

Mutants (--mutants N): the well-formed fixtures with a few bytes of the manifest or the resource
table overwritten (seeded, so every run tries the same ones). pt may accept or reject each, but
never crash, hang or exhaust memory, and a rejection is one line on stderr.

  differential.py --pt PT --aapt AAPT --fixtures DIR [--table fixtures.json] NAME...
  differential.py --pt PT --aapt AAPT --apk PATH --best PATH|-
  differential.py --pt PT --fixtures DIR --mutants N
"""
import argparse
import difflib
import os
import random
import resource
import subprocess
import sys
import tempfile
import zipfile

sys.dont_write_bytecode = True  # no __pycache__ in the source tree
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'fixtures'))
import apkcraft  # noqa: E402
import fixturelib  # noqa: E402

COMPARED = ('package:', 'sdkVersion:', 'targetSdkVersion:', 'application-label:', 'application-label-',
            'application-icon-', 'application:', 'launchable-activity:', 'densities:')
BEST = b'application-icon-best:'
MEMORY_LIMIT = 512 << 20
TIME_LIMIT = 10


def limit_memory():
    resource.setrlimit(resource.RLIMIT_AS, (MEMORY_LIMIT, MEMORY_LIMIT))


def run(cmd, limited):
    try:
        done = subprocess.run(cmd, capture_output=True, timeout=TIME_LIMIT if limited else 120,
                              preexec_fn=limit_memory if limited else None)
    except subprocess.TimeoutExpired:
        return None
    return done


def compared_lines(output, skip_best):
    return [line for line in output.split(b'\n')
            if line.decode('utf-8', 'replace').startswith(COMPARED)
            and not (skip_best and line.startswith(BEST))]


def check_good(pt, aapt, apk, best, entry=None, check_entry=False):
    problems = []
    ref = run([aapt, 'dump', 'badging', apk], limited=False)
    if ref is None or ref.returncode != 0:
        return ['aapt failed on the fixture: %r' % (ref and ref.stderr)]
    got = run([pt, 'dump', 'badging', apk], limited=True)
    if got is None:
        return ['pt ran longer than %d s' % TIME_LIMIT]
    if got.returncode != 0:
        return ['pt exited %d: %s' % (got.returncode, got.stderr.decode('utf-8', 'replace').strip())]
    want = compared_lines(ref.stdout, skip_best=False)
    have = compared_lines(got.stdout, skip_best=True)
    if want != have:
        diff = difflib.unified_diff([l.decode('utf-8', 'replace') for l in want],
                                    [l.decode('utf-8', 'replace') for l in have],
                                    'aapt', 'pt', lineterm='', n=1)
        problems.append('lines differ:\n' + '\n'.join(diff))
    lines = got.stdout.split(b'\n')
    best_at = [i for i, l in enumerate(lines) if l.startswith(BEST)]
    icon_at = [i for i, l in enumerate(lines) if l.startswith(b'application-icon-') and not l.startswith(BEST)]
    if best is None:
        if best_at:
            problems.append('unexpected best line %r' % lines[best_at[0]].decode('utf-8', 'replace'))
    else:
        want_line = ("application-icon-best:'%s'" % best).encode('utf-8')
        if len(best_at) != 1:
            problems.append('%d best lines, want exactly one: %s' % (len(best_at), want_line.decode()))
        else:
            if lines[best_at[0]] != want_line:
                problems.append('best line %r, want %r' % (lines[best_at[0]].decode('utf-8', 'replace'),
                                                            want_line.decode()))
            if not icon_at or best_at[0] != icon_at[-1] + 1:
                problems.append('best line is not right after the icon lines')
    if check_entry:
        picked = fixturelib.icon_lookup(got.stdout.decode('utf-8', 'replace'))
        if picked != entry:
            problems.append('the import would pick %r, want %r' % (picked, entry))
    return problems


def one_line(err):
    return err.count(b'\n') == 1 and err.endswith(b'\n') and bool(err.strip())


def check_broken(pt, apk):
    got = run([pt, 'dump', 'badging', apk], limited=True)
    if got is None:
        return ['pt ran longer than %d s' % TIME_LIMIT]
    problems = []
    if got.returncode < 0:
        problems.append('pt was killed by signal %d' % -got.returncode)
    elif got.returncode == 0:
        problems.append('pt exited 0 on a broken package')
    if not one_line(got.stderr):
        problems.append('want exactly one line on stderr, got %r' % got.stderr[:400])
    return problems


def check_survives(pt, apk):
    got = run([pt, 'dump', 'badging', apk], limited=True)
    if got is None:
        return ['pt ran longer than %d s' % TIME_LIMIT]
    if got.returncode < 0:
        return ['pt was killed by signal %d' % -got.returncode]
    if got.returncode != 0 and not one_line(got.stderr):
        return ['rejected without exactly one line on stderr: %r' % got.stderr[:400]]
    return []


def mutants(fixtures, directory, count, workdir):
    """Yields (label, path) of `count` damaged copies of the well-formed fixtures."""
    rng = random.Random(20240601)
    sources = []
    for fx in fixtures:
        if fx['kind'] == 'good':
            with open(os.path.join(directory, fx['file']), 'rb') as f:
                apk = f.read()
            try:
                apkcraft.read_entries(apk)
            except zipfile.BadZipFile:
                continue  # damaged at the ZIP level on purpose
            sources.append((fx['name'], apk))
    interesting = [0x00, 0xFF, 0x7F, 0x80, 0x01, 0xFE]
    for i in range(count):
        name, apk = rng.choice(sources)
        entry = rng.choice(['AndroidManifest.xml', 'resources.arsc'])
        edits = [(rng.random(), rng.choice(interesting + [rng.getrandbits(8)])) for _ in range(rng.randint(1, 8))]

        def damage(data, edits=edits):
            buf = bytearray(data)
            for where, value in edits:
                buf[int(where * len(buf))] = value
            return bytes(buf)
        path = os.path.join(workdir, 'mutant%04d.apk' % i)
        with open(path, 'wb') as f:
            f.write(apkcraft.replace_entry(apk, entry, damage))
        yield '%s/%s#%d' % (name, entry, i), path


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument('--pt', required=True)
    ap.add_argument('--aapt', default='aapt')
    ap.add_argument('--fixtures')
    ap.add_argument('--table')
    ap.add_argument('--apk')
    ap.add_argument('--best')
    ap.add_argument('--mutants', type=int, default=0)
    ap.add_argument('names', nargs='*')
    args = ap.parse_args()

    results = []
    if args.apk:
        best = None if args.best in (None, '-') else args.best
        results.append((os.path.basename(args.apk), check_good(args.pt, args.aapt, args.apk, best)))
    if args.mutants:
        with tempfile.TemporaryDirectory(prefix='fennlow-mutants-') as workdir:
            for label, path in mutants(fixturelib.load_fixtures(args.table), args.fixtures, args.mutants, workdir):
                results.append((label, check_survives(args.pt, path)))
    fixtures = {fx['name']: fx for fx in fixturelib.load_fixtures(args.table)} if args.names else {}
    for name in args.names:
        fx = fixtures[name]
        apk = os.path.join(args.fixtures, fx['file'])
        if fx['kind'] == 'good':
            expect = fx['expect']
            results.append((name, check_good(args.pt, args.aapt, apk, expect['best'], expect['entry'], True)))
        else:
            results.append((name, check_broken(args.pt, apk)))
    failed = 0
    for name, problems in results:
        for p in problems:
            print('FAIL %s: %s' % (name, p))
        failed += bool(problems)
    print('%d passed, %d failed' % (len(results) - failed, failed))
    return 1 if failed else 0


if __name__ == '__main__':
    sys.exit(main())
