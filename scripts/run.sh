#!/usr/bin/env bash
# Builds Fennlow (x86_64) and starts it under wine64 from the run directory build/run.
# With a display (DISPLAY set) the program simply runs until its window is closed. Without one it
# starts its own Xvfb, imports a sample package through the import button and its open dialog,
# saves a screenshot of the window to build/screenshot.png, ends Fennlow and Xvfb, and prints the
# screenshot's path.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
root=$(pwd)

# FENNLOW_BUILD_DIR: another build folder of the win64 preset (default build/win64).
build=${FENNLOW_BUILD_DIR:-$root/build/win64}

bash scripts/setup.sh
cmake --preset win64 -B "$build" >/dev/null
cmake --build "$build" --target Fennlow
# The sample packages; the program does not need them.
cmake --build "$build" --target fixture_apks >/dev/null 2>&1 || true

source scripts/wine-env.sh
fennlow_wine_prefix
# Wine draws Fennlow's frame and caption itself (there may be no window manager to do it); set
# for Fennlow.exe alone.
DISPLAY= "$FENNLOW_WINE" reg add 'HKCU\Software\Wine\AppDefaults\Fennlow.exe\X11 Driver' \
  /v Decorated /t REG_SZ /d N /f >/dev/null 2>&1 || true
# That Wine session has no display: let it end, or Fennlow would join it and show no window.
"$FENNLOW_WINESERVER" -w

# The run directory: the program writes pt.exe, uz.exe and icon\ beside itself.
run=$root/build/run
mkdir -p "$run"
cp "$build/bin/Fennlow.exe" "$run/"
if [ -f "$build/bin/zlibwapi.dll" ]; then cp "$build/bin/zlibwapi.dll" "$run/"; fi

if [ -n "${DISPLAY:-}" ]; then
  cd "$run"
  exec "$FENNLOW_WINE" Fennlow.exe
fi

xvfb_pid=
fennlow_pid=
cleanup() {
  if [ -n "$fennlow_pid" ] && kill -0 "$fennlow_pid" 2>/dev/null; then kill "$fennlow_pid" 2>/dev/null || true; fi
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
}
trap cleanup EXIT

# A display of our own, on the first free number from 95 on.
num=95
while [ -e "/tmp/.X$num-lock" ] || [ -e "/tmp/.X11-unix/X$num" ]; do num=$((num + 1)); done
Xvfb ":$num" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 </dev/null &
xvfb_pid=$!
export DISPLAY=:$num
for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

(cd "$run" && exec "$FENNLOW_WINE" Fennlow.exe) &
fennlow_pid=$!

caption='Fennlow  -by Quaddle Tarvin'
window=
for _ in $(seq 300); do
  window=$(xdotool search --name "^$caption\$" 2>/dev/null | head -n 1 || true)
  [ -n "$window" ] && break
  sleep 0.1
done
if [ -z "$window" ]; then
  echo "run: the Fennlow window did not appear" >&2
  exit 1
fi
sleep 1

# Import a sample package: click 导入文件, type the package's path into the open dialog, Enter.
apk=$build/fixtures/png_densities.apk
if [ -f "$apk" ]; then
  eval "$(xdotool getwindowgeometry --shell "$window")"  # X, Y: the window's outer corner
  # The button's centre is at (248 + 60, 16 + 16) in the client area, which starts a frame's width
  # in and a caption's height down; the button is large enough for any usual frame metrics.
  xdotool mousemove $((X + 4 + 308)) $((Y + 26 + 32)) click 1
  dialog=
  for _ in $(seq 100); do
    dialog=$(xdotool search --onlyvisible --name '^(Open|打开)$' 2>/dev/null | head -n 1 || true)
    [ -n "$dialog" ] && break
    sleep 0.1
  done
  if [ -n "$dialog" ]; then
    sleep 0.5
    xdotool type --delay 20 "Z:${apk//\//\\}"
    xdotool key Return
    sleep 6  # the badging tool and UnZip run under wine
  else
    echo "run: no open dialog appeared; screenshot without an import" >&2
  fi
fi

shot=$root/build/screenshot.png
eval "$(xdotool getwindowgeometry --shell "$window")"
# The window with its frame: Wine draws the frame itself inside the X window when no window
# manager runs, so the X window is the whole Windows window.
import -display "$DISPLAY" -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$shot"

# Close the window as a user would; the exit routine runs and nothing is deleted.
xdotool key --window "$window" alt+F4 || true
for _ in $(seq 50); do kill -0 "$fennlow_pid" 2>/dev/null || break; sleep 0.1; done
echo "$shot"
