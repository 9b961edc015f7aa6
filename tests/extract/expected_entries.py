#!/usr/bin/env python3
"""Reads each fixture's icon entry with Python's zipfile, the reference the back ends are held to.

  expected_entries.py MANIFEST FIXTURE_DIR OUT_DIR

Writes OUT_DIR/<name>.bin with the bytes of the first entry of that name in directory order; writes
nothing for a fixture whose entry zipfile cannot read (bad CRC, lying sizes) or that has none."""
import json
import os
import sys
import zipfile


def entry_name(fixture):
    for op in fixture.get('post', []):
        if op.get('op') == 'duplicate':
            return op['entry']
    return fixture.get('zip_entry') or (fixture.get('expect') or {}).get('entry')


def main(manifest, fixture_dir, out_dir):
    os.makedirs(out_dir, exist_ok=True)
    with open(manifest, encoding='utf-8') as f:
        fixtures = json.load(f)['fixtures']
    for fixture in fixtures:
        target = os.path.join(out_dir, fixture['name'] + '.bin')
        if os.path.exists(target):
            os.remove(target)
        name = entry_name(fixture)
        if not name:
            continue
        try:
            with zipfile.ZipFile(os.path.join(fixture_dir, fixture['file'])) as z:
                first = next(i for i in z.infolist() if i.filename == name)
                data = z.open(first).read()
        except Exception:  # noqa: BLE001 - damaged on purpose: no reference bytes
            continue
        with open(target, 'wb') as f:
            f.write(data)


if __name__ == '__main__':
    main(*sys.argv[1:4])
