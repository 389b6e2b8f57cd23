# Sourced by the test and run scripts: a private Wine prefix per Windows target under the build
# folder, a virtual display, and a persistent wineserver per prefix so that each test process
# starts in milliseconds. Everything started here is stopped by qm_env_stop.
#
# Two targets: win32 (build/win, the product) and win64 (build/win64). Debian's `wine` wrapper
# takes the 32-bit loader whenever wine32 is installed, whether this kernel can run it or not, so
# each target names its loader itself: the wrapper for win32, wine64 with WINELOADER for win64.

QM_ROOT=${QM_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
QM_BUILD=${QM_BUILD:-$QM_ROOT/build}
QM_WINE64=/usr/lib/wine/wine64
QM_WINE32=/usr/lib/wine/wine
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko install prompts when the prefix is created. Nor the menu builder, whatever the
# caller's overrides: it would write menu entries, desktop files and file types for the prefix
# under the user's home.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
case ";$WINEDLLOVERRIDES;" in
  *";winemenubuilder.exe=d;"*) ;;
  *) WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winemenubuilder.exe=d" ;;
esac

# Every Wine command here runs under one locale, whatever the caller's. Whenever a prefix starts
# under another ANSI code page than the last time (a developer under zh_CN.UTF-8 and CI under
# C.UTF-8 sharing a build folder), Wine writes its own font links over the Tahoma link below, and
# Chinese would show as boxes. Setting the links again at every start would mend only that, while
# the code page the tests see would still follow the caller. It is a UTF-8 locale because Wine
# keeps file names in the Unix locale's encoding, and Chinese file names need UTF-8.
export LC_ALL=C.UTF-8

# Wine takes its antialiasing default for every font from fontconfig, where it is on: small
# Chinese text would then be drawn from the CJK face's outlines in thin grey strokes rather than
# in black from its bitmaps. This file is the machine's fontconfig with antialiasing off.
export FONTCONFIG_FILE=$QM_ROOT/tools/wine-fonts.conf

QM_XVFB_PID=
QM_STARTED_PREFIXES=
QM_TEST_PREFIX=
QM_TARGET_BUILD=

# True when this machine runs 32-bit code: Wine's 32-bit loader answers. Some kernels run no
# 32-bit code at all (an i386 execve fails with ENOEXEC). QM_NO_WIN32=1 makes the answer "no",
# to try the 64-bit-only path on a machine that has both.
qm_can_run_win32() {
  [ "${QM_NO_WIN32:-0}" != 1 ] && "$QM_WINE32" --version >/dev/null 2>&1
}

# Why win32 cannot run here, in one phrase (only meaningful when qm_can_run_win32 fails).
qm_win32_absence_reason() {
  if [ "${QM_NO_WIN32:-0}" = 1 ]; then
    echo "QM_NO_WIN32=1 is set"
  else
    echo "this machine runs no 32-bit code ($QM_WINE32 --version fails)"
  fi
}

# The Windows targets that run on this machine, the product's first.
qm_runnable_targets() {
  if qm_can_run_win32; then echo "win32 win64"; else echo "win64"; fi
}

# The build folder of a target.
qm_target_build() {
  case "$1" in
    win32) echo "$QM_BUILD/win" ;;
    win64) echo "$QM_BUILD/win64" ;;
    *) echo "wineenv: unknown target $1" >&2; return 1 ;;
  esac
}

# Points WINEPREFIX, WINEARCH and the loader at one target's prefix. After it, qm_wine runs a
# Windows program of that target. It remembers the target's build folder and test prefix for the
# end-to-end drive (qm_map_e2e_drive).
qm_select_target() {
  case "$1" in
    win32)
      export WINEARCH=win32 WINEPREFIX=$QM_BUILD/wineprefix
      unset WINELOADER
      QM_WINE=$QM_WINE32 ;;
    win64)
      export WINEARCH=win64 WINEPREFIX=$QM_BUILD/wineprefix64 WINELOADER=$QM_WINE64
      QM_WINE=$QM_WINE64 ;;
    *) echo "wineenv: unknown target $1" >&2; return 1 ;;
  esac
  QM_TARGET_BUILD=$(qm_target_build "$1")
  QM_TEST_PREFIX=$WINEPREFIX
}

# True when WINEPREFIX is one of this build's prefixes: a direct child of the build folder whose
# name starts with "wineprefix" (one per target, and tools/run's "-run" ones). This environment
# removes and remakes its prefixes at will, so it must never take another one, the user's own
# ~/.wine above all. The test is on the text, so a trailing slash or a deeper path is refused too,
# and so is every prefix while QM_BUILD is empty (as after `QM_BUILD=x source wineenv.sh`, whose
# assignment lasts only for the source), which would make the root folder the build folder.
qm_prefix_is_ours() {
  [ -n "${QM_BUILD:-}" ] || return 1
  case "${WINEPREFIX:-}" in
    "$QM_BUILD"/wineprefix*) ;;
    *) return 1 ;;
  esac
  case "${WINEPREFIX#"$QM_BUILD"/}" in
    */*) return 1 ;;
  esac
}

qm_check_prefix() {
  qm_prefix_is_ours && return 0
  if [ -z "${QM_BUILD:-}" ]; then
    echo "wineenv: QM_BUILD is empty: no build folder to keep the Wine prefixes in" >&2
    return 1
  fi
  echo "wineenv: refusing WINEPREFIX='${WINEPREFIX:-}': this environment makes and removes only its" \
    "own prefixes, $QM_BUILD/wineprefix*; call qm_select_target first" >&2
  return 1
}

qm_wine() { "$QM_WINE" "$@"; }

# Starts Xvfb on the first free display from :90 and exports DISPLAY. Must run before any Wine
# command of a prefix: a Wine desktop started without a display keeps that.
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

# Debian's Wine never reads the fonts it ships (fonts-wine puts them in /usr/share/wine/fonts; its
# font loader looks elsewhere), so the prefix links the ones it needs into C:\windows\Fonts:
# Marlett draws the caption buttons, scroll arrows and check marks as symbols (without it they
# read "0 1 r"), and Tahoma is the dialogs' Latin face.
QM_PREFIX_FONTS="/usr/share/wine/fonts/marlett.ttf /usr/share/wine/fonts/tahoma.ttf
  /usr/share/wine/fonts/tahomabd.ttf"

# Wine finds UMing (the Chinese face, see qm_map_fonts) through fontconfig, so it is not linked
# into the prefix; but a prefix marked ready without it would show Chinese as boxes for good.
QM_CJK_PATH=/usr/share/fonts/truetype/arphic/uming.ttc

qm_install_fonts() {
  local dest="$WINEPREFIX/drive_c/windows/Fonts" f
  if [ ! -f "$QM_CJK_PATH" ]; then
    echo "wineenv: $QM_CJK_PATH is missing (tools/setup installs it)" >&2
    return 1
  fi
  mkdir -p "$dest" || return 1
  for f in $QM_PREFIX_FONTS; do
    if [ ! -f "$f" ]; then
      echo "wineenv: $f is missing (tools/setup installs it)" >&2
      return 1
    fi
    ln -sf "$f" "$dest/" || return 1
  done
}

# The dialogs name "宋体" and "MS Shell Dlg", which Wine does not have: both become Tahoma for Latin
# text, and Tahoma links to AR PL UMing CN, a Ming face like the one the dialogs name, for every
# Chinese character. UMing carries hand-drawn bitmaps for the dialogs' small sizes, so every
# stroke is there; its own Latin letters are thin and grey at those sizes, hence the link rather
# than a plain replacement. Wine looks a bold font's links up under its full name, so the bold
# face (window captions) needs a link of its own. Where Wine itself falls back for Chinese text
# (the edit controls' text layout, its built-in links) it asks for SimSun, 宋体's English name:
# that one is UMing outright.
QM_LATIN_FACE="Tahoma"
QM_CJK_FACE="AR PL UMing CN"
QM_CJK_FILE="uming.ttc"

qm_map_fonts() {
  local replacements='HKCU\Software\Wine\Fonts\Replacements' f
  local links='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink'
  for f in "宋体" "MS Shell Dlg" "MS Shell Dlg 2"; do
    qm_wine reg add "$replacements" /v "$f" /t REG_SZ /d "$QM_LATIN_FACE" /f </dev/null >/dev/null 2>&1 ||
      return 1
  done
  qm_wine reg add "$replacements" /v SimSun /t REG_SZ /d "$QM_CJK_FACE" /f </dev/null >/dev/null 2>&1 ||
    return 1
  for f in "$QM_LATIN_FACE" "$QM_LATIN_FACE Bold"; do
    qm_wine reg add "$links" /v "$f" /t REG_MULTI_SZ /d "$QM_CJK_FILE,$QM_CJK_FACE" /f \
      </dev/null >/dev/null 2>&1 || return 1
  done
}

# Without a window manager, Wine waits about 2 s whenever a managed window with a caption is hidden
# or destroyed; unmanaged windows close at once.
qm_unmanaged_windows() {
  qm_wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f </dev/null >/dev/null 2>&1
}

# Creates the selected target's prefix once. The marker names the settings' version, so older
# prefixes are made again, and it is written only when every step succeeded: a prefix without
# the fonts and their mapping would show Chinese as boxes.
qm_prefix_init() {
  qm_check_prefix || return 1
  local marker="$WINEPREFIX/.qm-ready-5"
  [ -f "$marker" ] && return 0
  echo "wineenv: creating Wine prefix $WINEPREFIX ($WINEARCH)"
  rm -rf "$WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  if qm_wine wineboot -i </dev/null >/dev/null 2>&1 && wineserver -w &&
     qm_install_fonts && qm_map_fonts && qm_unmanaged_windows && wineserver -w; then
    touch "$marker"
    return 0
  fi
  echo "wineenv: creating the prefix $WINEPREFIX failed" >&2
  wineserver -k </dev/null >/dev/null 2>&1
  return 1
}

# Persistent server, every descriptor detached: otherwise Wine's background services inherit the
# caller's pipes and hold them open.
qm_server_start() {
  wineserver -p </dev/null >/dev/null 2>&1
  qm_wine wineboot </dev/null >/dev/null 2>&1
  # The desktop process too: Wine starts it from the first program that shows a window, and it
  # keeps that program's descriptors, a test's being ctest's output pipe, for as long as any
  # window of the prefix is up (while another Wine program works beside, for good). It ends with
  # the server.
  qm_wine 'C:\windows\system32\explorer.exe' /desktop </dev/null >/dev/null 2>&1 &
}

# The end-to-end driver works on drive Q:, mapped onto the target's end-to-end work folder: a short
# path for the folder picker to walk down to and for the screenshots to show. Wine lists a drive
# (GetLogicalDrives, and so the picker) only when its dosdevices link is there before the
# wineserver starts. The link is absolute, as a relative one would be read from dosdevices.
qm_map_e2e_drive() {
  local work="$QM_TARGET_BUILD/tests/e2e/e2e-work"
  mkdir -p "$work" && work=$(cd "$work" && pwd) &&
    ln -sfnT "$work" "$WINEPREFIX/dosdevices/q:"
}

# Starts the display (once) and the selected target's prefix and server. Only a target's test
# prefix gets drive Q:; tools/run's prefix shows the program no drive of the tests.
qm_env_start() {
  qm_check_prefix || return 1
  if [ -z "$QM_XVFB_PID" ]; then qm_start_xvfb || return 1; fi
  qm_prefix_init || return 1
  if [ "$WINEPREFIX" = "${QM_TEST_PREFIX:-}" ]; then
    qm_map_e2e_drive || { echo "wineenv: could not map drive Q: in $WINEPREFIX" >&2; return 1; }
  fi
  qm_server_start
  QM_STARTED_PREFIXES="$QM_STARTED_PREFIXES $WINEPREFIX"
}

qm_env_stop() {
  local p
  for p in $QM_STARTED_PREFIXES; do
    WINEPREFIX=$p wineserver -k </dev/null >/dev/null 2>&1
  done
  QM_STARTED_PREFIXES=
  if [ -n "$QM_XVFB_PID" ]; then
    kill "$QM_XVFB_PID" 2>/dev/null
    wait "$QM_XVFB_PID" 2>/dev/null
    QM_XVFB_PID=
  fi
}
