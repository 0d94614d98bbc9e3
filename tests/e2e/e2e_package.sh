#!/usr/bin/env bash
# Installs the built .deb with apt, finds `aelorin` on the PATH an ordinary user
# logs in with, starts it in a private X server, sees its window, reads its
# manual page in English and in Japanese, and removes the package again.
# Usage: e2e_package.sh path/to/package.deb
source "$(dirname "$0")/lib.sh"
deb=$(realpath "$1")
export AELORIN_SOUND=sdl SDL_AUDIODRIVER=dummy

if [[ $(id -u) -ne 0 ]]; then
  echo "e2e_package: needs root to install a package; skipped"
  exit 77
fi
if dpkg-query -W -f='${Status}' aelorin 2>/dev/null | grep -q "install ok installed"; then
  echo "e2e_package: aelorin is installed already; left alone, skipped"
  exit 77
fi
[[ -f "$deb" ]] || fail "no package at $deb"

remove() { DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq aelorin >/dev/null 2>&1 || true; }
trap 'remove; e2e_cleanup' EXIT

DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$deb" >"$E2E_TMP/apt.log" 2>&1 \
  || { cat "$E2E_TMP/apt.log"; fail "apt could not install the package"; }
# Root's PATH leaves out the games; a user's login PATH has them.
launcher=$(runuser -u nobody -- bash -lc 'command -v aelorin') \
  || fail "aelorin is not on an ordinary user's PATH"
[[ "$launcher" == /usr/games/aelorin ]] || fail "the launcher is $launcher, not in /usr/games"
[[ -f /usr/share/applications/invalid.aelorin.Aelorin.desktop ]] || fail "no menu entry"
[[ -f /usr/share/icons/hicolor/32x32/apps/aelorin.png ]] || fail "no 32 px icon"

start_x 1024x768x24
cd /   # the program finds its data beside itself, not in the working directory
start_program "$launcher"
pid=$E2E_LAST_PID
id=$(wait_window Aelorin 30) || fail "the installed program showed no window"
read -r _ _ w _ < <(window_geometry "$id")
[[ "$w" == 630 ]] || fail "the window found is not the main window (width $w)"
wmctrl -c Aelorin
wait_exit "$pid" 15 || fail "the installed program did not end on a close request"
[[ "$E2E_STATUS" == 0 ]] || fail "the installed program ended with status $E2E_STATUS"

# how the reader asks   where the page lies                   its first heading
manuals=(
  "en  /usr/share/man/man6/aelorin.6.gz     NAME"
  "ja  /usr/share/man/ja/man6/aelorin.6.gz  名前"
)
for row in "${manuals[@]}"; do
  read -r lang page heading <<<"$row"
  [[ "$(man -L "$lang" -w aelorin)" == "$page" ]] || fail "man -L $lang finds no page at $page"
  shown=$(LC_ALL=C.UTF-8 MANWIDTH=80 man -L "$lang" aelorin 2>&1) || fail "man -L $lang aelorin failed"
  [[ "$(sed -n 3p <<<"$shown")" == "$heading" ]] \
    || fail "man -L $lang aelorin does not open with $heading: $(head -n3 <<<"$shown")"
done

remove
[[ ! -e /usr/games/aelorin ]] || fail "the package left the launcher behind"
echo "e2e_package: passed"
