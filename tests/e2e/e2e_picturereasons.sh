#!/usr/bin/env bash
# A picture that cannot be loaded: the error box, as a screen reader reads it,
# names the file and then, in parentheses, why, in the program's language.
# Usage: e2e_picturereasons.sh path/to/aelorin
source "$(dirname "$0")/lib.sh"
build=$(dirname "$(realpath "$1")")
export AELORIN_SOUND=sdl SDL_AUDIODRIVER=dummy

home="$E2E_TMP/reasons"

# A bitmap of 24 bits whose header is given as width, height and bits per pixel,
# followed by just enough pixel rows for what it claims.
bitmap() {
  python3 - "$@" <<'EOF_PY'
import struct, sys
path, width, height, bits = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), int(sys.argv[4])
row = (width * 3 + 3) // 4 * 4
pixels = b'\x80' * (row * height)
info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, bits, 0, len(pixels), 2835, 2835, 0, 0)
open(path, 'wb').write(b'BM' + struct.pack('<IHHI', 54 + len(pixels), 0, 0, 54) + info + pixels)
EOF_PY
}

# file | how it is spoilt | the reason the box gives
cases=(
  "images/kite.bmp|missing|ファイルが見つかりません"
  "images/back.bmp|huge|ファイルが大きすぎます"
  "images/back.bmp|garbage|画像の形式が違います"
  "images/kite.bmp|badbits|画像データが壊れています"
  "images/kite.bmp|cut|画像データが途中で切れています"
  "images/kite.bmp|tall|画像が大きすぎます (1 x 100000)"
)

spoil() {
  local file=$1 fault=$2
  case "$fault" in
    missing) rm "$file" ;;
    huge) truncate -s 5G "$file" ;;  # sparse: cheap to make
    garbage) head -c 5000 /dev/zero | tr '\0' 'Z' >"$file" ;;
    badbits) bitmap "$file" 180 120 7 ;;
    cut) truncate -s $(($(stat -c %s "$file") / 3)) "$file" ;;
    # Small as a picture, but a surface 180 pixels wide that tall is not.
    tall) bitmap "$file" 1 100000 24 ;;
    *) fail "unknown fault $fault" ;;
  esac
}

start_x 1024x768x24
start_accessibility_bus

for entry in "${cases[@]}"; do
  IFS='|' read -r file fault reason <<<"$entry"
  case_name="$file $fault"
  rm -rf "$home"
  copy_program "$build" "$home"
  spoil "$home/$file" "$fault"
  start_program "$home/aelorin"
  pid=$E2E_LAST_PID
  box=$(wait_window Aelorin 30) || fail "$case_name: no error box"
  # The text of the box's label, its lines joined by " / ".
  text=$(/usr/bin/python3 - <<'PY'
import sys, time
import pyatspi

def find(node, depth=0):
    if node is None or depth > 30:
        return None
    if "画像ファイルを読み込めません" in (node.name or ""):
        return node.name
    for i in range(node.childCount):
        found = find(node.getChildAtIndex(i), depth + 1)
        if found:
            return found
    return None

for _ in range(100):
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        found = find(desktop.getChildAtIndex(i))
        if found:
            print(" / ".join(found.splitlines()))
            sys.exit(0)
    time.sleep(0.1)
sys.exit(1)
PY
  ) || fail "$case_name: no error text on the accessibility bus"
  [[ "$text" == "画像ファイルを読み込めません。 / $home/$file / ($reason)" ]] \
    || fail "$case_name: the box says: $text"
  press_in "$box" Return
  wait_exit "$pid" 10 || fail "$case_name: the program did not end after the error box"
  echo "ok: $case_name: ($reason)"
done

echo "e2e_picturereasons: passed"
