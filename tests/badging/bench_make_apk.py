#!/usr/bin/env python3
"""Generates the large package for the badging benchmark and packs it with aapt: thousands of
drawables across densities and other qualifiers, strings in dozens of locales, an adaptive icon
with bitmap fallbacks, and big stored (incompressible) and deflated (text) filler assets.

  bench_make_apk.py --out big.apk [--drawables 1500] [--strings 1000] [--stored-mb 200] [--deflated-mb 100]
"""
import argparse
import os
import random
import shutil
import subprocess
import sys
import tempfile

sys.dont_write_bytecode = True  # no __pycache__ in the source tree
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'fixtures'))
import pngwrite  # noqa: E402

DENSITIES = ['ldpi', 'mdpi', 'hdpi', 'xhdpi', 'xxhdpi', 'xxxhdpi']
EXTRA_CONFIGS = ['land-hdpi', 'land-xhdpi', 'sw600dp-xhdpi', 'night-xxhdpi', 'port-mdpi']
LOCALES = ['ar', 'bg', 'ca', 'cs', 'da', 'de', 'el', 'en-rGB', 'es', 'es-rUS', 'et', 'fa', 'fi', 'fr',
           'fr-rCA', 'hi', 'hr', 'hu', 'in', 'it', 'iw', 'ja', 'ko', 'lt', 'lv', 'nb', 'nl', 'pl', 'pt',
           'pt-rBR', 'ro', 'ru', 'sk', 'sl', 'sr', 'sv', 'th', 'tr', 'uk', 'vi', 'zh-rCN', 'zh-rTW']
WORDS = ('icon package launcher density bucket resource table string pool chunk entry archive '
         'central directory deflate stored manifest badging label locale bitmap adaptive').split()

MANIFEST = '''<?xml version="1.0" encoding="utf-8"?>
<manifest xmlns:android="http://schemas.android.com/apk/res/android"
    package="org.fennlow.bench.big" android:versionCode="42" android:versionName="4.2">
  <uses-sdk android:minSdkVersion="21" android:targetSdkVersion="30"/>
  <application android:label="@string/app_name" android:icon="@mipmap/ic_launcher">
    <activity android:name=".MainActivity" android:label="@string/s_1">
      <intent-filter>
        <action android:name="android.intent.action.MAIN"/>
        <category android:name="android.intent.category.LAUNCHER"/>
      </intent-filter>
    </activity>
  </application>
</manifest>
'''
ADAPTIVE = '''<?xml version="1.0" encoding="utf-8"?>
<adaptive-icon xmlns:android="http://schemas.android.com/apk/res/android">
  <background android:drawable="@color/icon_background"/>
  <foreground android:drawable="@drawable/d0"/>
</adaptive-icon>
'''


def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, 'wb' if isinstance(data, bytes) else 'w', **({} if isinstance(data, bytes) else {'encoding': 'utf-8'})) as f:
        f.write(data)


def small_png(index, salt):
    colour = bytes(((index * 37 + salt) & 0xFF, (index * 91) & 0xFF, (index * 13 + salt * 7) & 0xFF, 255))
    return pngwrite.encode_rgba(12, 12, pngwrite.icon_pixels(12, colour))


def strings_xml(locale, count, rng):
    out = ['<?xml version="1.0" encoding="utf-8"?>', '<resources>',
           '  <string name="app_name">Big %s</string>' % (locale or 'default')]
    for i in range(count):
        text = ' '.join(rng.choice(WORDS) for _ in range(6))
        out.append('  <string name="s_%d">%s %s %d</string>' % (i, locale, text, i))
    out.append('</resources>')
    return '\n'.join(out) + '\n'


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument('--out', required=True)
    ap.add_argument('--aapt', default='aapt')
    ap.add_argument('--framework', default='/usr/share/android-framework-res/framework-res.apk')
    ap.add_argument('--drawables', type=int, default=1500)
    ap.add_argument('--strings', type=int, default=1000)
    ap.add_argument('--stored-mb', type=int, default=200)
    ap.add_argument('--deflated-mb', type=int, default=100)
    args = ap.parse_args()
    rng = random.Random(7)

    work = tempfile.mkdtemp(prefix='fennlow-bench-')
    try:
        write(os.path.join(work, 'AndroidManifest.xml'), MANIFEST)
        res = os.path.join(work, 'res')
        for d, density in enumerate(DENSITIES):
            for i in range(args.drawables):
                write(os.path.join(res, 'drawable-' + density, 'd%d.png' % i), small_png(i, d))
            write(os.path.join(res, 'mipmap-' + density, 'ic_launcher.png'), small_png(10000 + d, d))
        for c, config in enumerate(EXTRA_CONFIGS):
            for i in range(0, args.drawables, 5):
                write(os.path.join(res, 'drawable-' + config, 'd%d.png' % i), small_png(i, 50 + c))
        write(os.path.join(res, 'mipmap-anydpi-v26', 'ic_launcher.xml'), ADAPTIVE)
        write(os.path.join(res, 'values', 'colors.xml'),
              '<resources><color name="icon_background">#FF3DDC84</color></resources>\n')
        write(os.path.join(res, 'values', 'strings.xml'), strings_xml('', args.strings, rng))
        for locale in LOCALES:
            write(os.path.join(res, 'values-' + locale, 'strings.xml'), strings_xml(locale, args.strings, rng))

        assets = os.path.join(work, 'assets')
        chunk = 10 << 20
        for i in range(max(1, args.stored_mb // 10)):
            write(os.path.join(assets, 'stored', 'blob%02d.bin' % i), rng.randbytes(chunk))
        line_rng = random.Random(11)
        for i in range(max(1, args.deflated_mb // 10)):
            lines = []
            size = 0
            while size < chunk:
                line = ' '.join(line_rng.choice(WORDS) for _ in range(12)) + ' %d\n' % line_rng.getrandbits(32)
                lines.append(line)
                size += len(line)
            write(os.path.join(assets, 'text', 'words%02d.txt' % i), ''.join(lines))

        tmp = args.out + '.part'
        subprocess.run([args.aapt, 'package', '-f', '-0', 'bin', '-M', os.path.join(work, 'AndroidManifest.xml'),
                        '-S', res, '-A', assets, '-I', args.framework, '-F', tmp], check=True,
                       stdout=subprocess.DEVNULL)
        os.replace(tmp, args.out)
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == '__main__':
    main()
