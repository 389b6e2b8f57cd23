# Sourced by the test and run scripts: a private Wine prefix under the build folder, a virtual
# display, and a persistent wineserver so that each test process starts in milliseconds.
# Everything started here is stopped by qm_env_stop.

QM_ROOT=${QM_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
QM_BUILD=${QM_BUILD:-$QM_ROOT/build}
export WINEPREFIX=${WINEPREFIX:-$QM_BUILD/wineprefix}
export WINEARCH=win32
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko install prompts when the prefix is created.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

# Wine keeps file names in the Unix locale's encoding: Chinese file names need a UTF-8 locale,
# and a bare environment (no LANG) would refuse them.
case "${LC_ALL:-${LANG:-}}" in
  *UTF-8*|*utf8*|*UTF8*|*utf-8*) ;;
  *) export LC_ALL=C.UTF-8 ;;
esac

QM_XVFB_PID=

# Starts Xvfb on the first free display from :90 and exports DISPLAY. Must run before any Wine
# command of the prefix: a Wine desktop started without a display keeps that.
qm_start_xvfb() {
  local n=90
  while [ -e /tmp/.X$n-lock ] || [ -e /tmp/.X11-unix/X$n ]; do n=$((n + 1)); done
  Xvfb :$n -screen 0 1280x1024x24 -nolisten tcp </dev/null >/dev/null 2>&1 &
  QM_XVFB_PID=$!
  export DISPLAY=:$n
  local i
  for i in $(seq 1 100); do
    [ -e /tmp/.X11-unix/X$n ] && return 0
    sleep 0.1
  done
  echo "wineenv: Xvfb did not start on :$n" >&2
  return 1
}

# Maps the dialog fonts to the CJK font so that Chinese shows as text, not boxes.
qm_map_fonts() {
  local key='HKCU\Software\Wine\Fonts\Replacements' f
  for f in "宋体" "SimSun" "MS Shell Dlg" "MS Shell Dlg 2" "Tahoma"; do
    wine reg add "$key" /v "$f" /t REG_SZ /d "WenQuanYi Zen Hei" /f </dev/null >/dev/null 2>&1
  done
}

# Without a window manager, Wine waits about 2 s whenever a managed window with a caption is hidden
# or destroyed; unmanaged windows close at once.
qm_unmanaged_windows() {
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f </dev/null >/dev/null 2>&1
}

# Creates the prefix once (the marker names the settings' version, so older prefixes are updated).
qm_prefix_init() {
  if [ ! -f "$WINEPREFIX/.qm-ready-2" ]; then
    echo "wineenv: creating Wine prefix $WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    wineboot -i </dev/null >/dev/null 2>&1
    wineserver -w
    qm_map_fonts
    qm_unmanaged_windows
    wineserver -w
    touch "$WINEPREFIX/.qm-ready-2"
  fi
}

# Persistent server, every descriptor detached: otherwise Wine's background services inherit the
# caller's pipes and hold them open.
qm_server_start() {
  wineserver -p </dev/null >/dev/null 2>&1
  wine wineboot </dev/null >/dev/null 2>&1
}

qm_env_start() {
  qm_start_xvfb || return 1
  qm_prefix_init
  qm_server_start
}

qm_env_stop() {
  wineserver -k </dev/null >/dev/null 2>&1
  if [ -n "$QM_XVFB_PID" ]; then
    kill "$QM_XVFB_PID" 2>/dev/null
    wait "$QM_XVFB_PID" 2>/dev/null
    QM_XVFB_PID=
  fi
}
