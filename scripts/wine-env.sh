# Sourced by the Wine scripts: where wine64 lives, the test prefix and the shared X display.
fennlow_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX=${WINEPREFIX:-$fennlow_root/build/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko installer dialogs; no crash dialog.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=;winedbg.exe=d}
FENNLOW_WINE=/usr/lib/wine/wine64
[ -x "$FENNLOW_WINE" ] || FENNLOW_WINE=$(command -v wine64 || command -v wine)
FENNLOW_WINESERVER=/usr/lib/wine/wineserver64
[ -x "$FENNLOW_WINESERVER" ] || FENNLOW_WINESERVER=/usr/lib/wine/wineserver
[ -x "$FENNLOW_WINESERVER" ] || FENNLOW_WINESERVER=$(command -v wineserver)
export FENNLOW_WINE FENNLOW_WINESERVER

# Creates the prefix once (under a lock, since tests start in parallel) and sets it up for tests.
fennlow_wine_prefix() {
  [ -f "$WINEPREFIX/.fennlow-ready" ] && return 0
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    [ -f "$WINEPREFIX/.fennlow-ready" ] && exit 0
    DISPLAY= "$FENNLOW_WINE" wineboot -i >/dev/null 2>&1 || true
    "$FENNLOW_WINESERVER" -w
    local key='HKCU\Software\Wine\Fonts\Replacements'
    for face in Tahoma "MS Shell Dlg" "MS Shell Dlg 2" SimSun "Microsoft YaHei"; do
      DISPLAY= "$FENNLOW_WINE" reg add "$key" /v "$face" /t REG_SZ /d "WenQuanYi Micro Hei" /f >/dev/null 2>&1
    done
    # No crash dialog: a crashing test must end, not wait for a click.
    DISPLAY= "$FENNLOW_WINE" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
    "$FENNLOW_WINESERVER" -w
    touch "$WINEPREFIX/.fennlow-ready"
  ) 9>"$WINEPREFIX.lock"
}

# Gives Windows programs an X display: the caller's, or one shared Xvfb that the test harness stops.
fennlow_display() {
  if [ -n "${DISPLAY:-}" ]; then return 0; fi
  local num=${FENNLOW_XVFB_DISPLAY:-91}
  export DISPLAY=:$num
  (
    flock 9
    if ! xdpyinfo -display ":$num" >/dev/null 2>&1; then
      rm -f "/tmp/.X$num-lock" "/tmp/.X11-unix/X$num"
      setsid Xvfb ":$num" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 < /dev/null 9>&- &
      for _ in $(seq 100); do xdpyinfo -display ":$num" >/dev/null 2>&1 && break; sleep 0.1; done
    fi
  ) 9>"/tmp/fennlow-xvfb-$num.lock"
}

# Stops what fennlow_display started and the wineserver of the prefix.
fennlow_stop() {
  "$FENNLOW_WINESERVER" -k >/dev/null 2>&1 || true
  local num=${FENNLOW_XVFB_DISPLAY:-91}
  pkill -f "Xvfb :$num " >/dev/null 2>&1 || true
}
