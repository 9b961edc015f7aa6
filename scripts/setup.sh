#!/usr/bin/env bash
# Installs everything Fennlow needs to build, run and test on Debian 12, as root.
# Idempotent: a second run only checks and exits quickly.
set -euo pipefail

packages=(
  cmake ninja-build g++ make pkg-config git dpkg-dev
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix binutils-mingw-w64
  wine64 xvfb xdotool x11-utils imagemagick fonts-wqy-microhei
  python3 python3-gi gir1.2-gtk-3.0
  aapt android-framework-res webp time
  googletest zlib1g-dev clang libclang-rt-14-dev locales
)
sources=(unzip zlib libwebp)

src_list=/etc/apt/sources.list.d/fennlow-src.sources
want_src='Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg'

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

updated=0
if [ ! -f "$src_list" ] || [ "$(cat "$src_list")" != "$want_src" ]; then
  printf '%s\n' "$want_src" > "$src_list"
  apt-get update -qq
  updated=1
fi
if [ ${#missing[@]} -gt 0 ]; then
  [ $updated = 1 ] || apt-get update -qq
  updated=1
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# Debian source packages for the third-party Windows builds, unpacked once.
srcdir=${FENNLOW_SOURCES:-/var/cache/fennlow/sources}
mkdir -p "$srcdir"
for s in "${sources[@]}"; do
  if [ ! -f "$srcdir/$s.done" ]; then
    [ $updated = 1 ] || { apt-get update -qq; updated=1; }
    rm -rf "$srcdir/$s"; mkdir -p "$srcdir/$s"
    (cd "$srcdir/$s" && apt-get source -qq "$s" >/dev/null 2>&1)
    touch "$srcdir/$s.done"
  fi
done
echo "setup: ready (sources in $srcdir)"
