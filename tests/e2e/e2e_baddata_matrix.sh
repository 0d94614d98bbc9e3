#!/usr/bin/env bash
# The real program against spoiled data files, each time from a fresh copy of
# its directory. Either wave file missing, empty, cut short, garbage, of an
# absurd format or of a huge length: start-up completes, and a close request
# ends the program promptly with status 0. A spoiled bitmap: the error report
# names the file, and after it the program ends with a non-zero status that is
# no crash signal.
# Usage: e2e_baddata_matrix.sh path/to/aelorin
source "$(dirname "$0")/lib.sh"
build=$(dirname "$(realpath "$1")")
export AELORIN_SOUND=sdl SDL_AUDIODRIVER=dummy

home="$E2E_TMP/data matrix"

# A fresh copy of the program and its data.
fresh() {
  rm -rf "$home"
  copy_program "$build" "$home"
}

# A wave file whose samples, at one per second, the mixer would have to grow a
# few hundred thousand times over.
wave_at_1hz() {
  python3 - "$1" <<'EOF'
import struct, sys
samples = bytes(range(256)) * 16
fmt = struct.pack('<HHIIHH', 1, 1, 1, 1, 1, 8)
body = b'WAVE' + b'fmt ' + struct.pack('<I', len(fmt)) + fmt + b'data' + struct.pack('<I', len(samples)) + samples
open(sys.argv[1], 'wb').write(b'RIFF' + struct.pack('<I', len(body)) + body)
EOF
}

# A bitmap header that claims 100000 x 100000 pixels of 24 bits.
bitmap_of_absurd_size() {
  python3 - "$1" <<'EOF'
import struct, sys
info = struct.pack('<IiiHHIIiiII', 40, 100000, 100000, 1, 24, 0, 0, 2835, 2835, 0, 0)
open(sys.argv[1], 'wb').write(b'BM' + struct.pack('<IHHI', 54 + 64, 0, 0, 54) + info + b'\x40' * 64)
EOF
}

# Spoils one file of the copy in the named way.
spoil() {
  local file="$home/$1" fault=$2 size
  size=$(stat -c %s "$file")
  case "$fault" in
    missing) rm "$file" ;;
    empty) : >"$file" ;;
    cut) truncate -s $((size / 3)) "$file" ;;
    garbage) head -c 5000 /dev/zero | tr '\0' 'Z' >"$file" ;;
    absurd)
      case "$file" in
        *.wav) wave_at_1hz "$file" ;;
        *.bmp) bitmap_of_absurd_size "$file" ;;
      esac
      ;;
    huge) truncate -s 5G "$file" ;;  # sparse: cheap to make
    *) fail "unknown fault $fault" ;;
  esac
}

start_x 1024x768x24

for file in sounds/Wave22.wav sounds/Over.wav; do
  for fault in missing empty cut garbage absurd huge; do
    case_name="$file $fault"
    fresh
    spoil "$file" "$fault"
    start_program "$home/aelorin"
    pid=$E2E_LAST_PID
    expect_main_window "$case_name"
    close_and_expect_exit "$pid" "$case_name"
    echo "ok: $case_name"
  done
done

for spoilt in "images/kite.bmp cut" "images/kite.bmp absurd" "images/back.bmp garbage" "images/back.bmp huge"; do
  read -r file fault <<<"$spoilt"
  case_name="$file $fault"
  fresh
  spoil "$file" "$fault"
  start_program "$home/aelorin"
  pid=$E2E_LAST_PID
  box=$(wait_window Aelorin 30) || fail "$case_name: no error report"
  read -r _ _ w _ < <(window_geometry "$box")
  [[ "$w" != 630 ]] || fail "$case_name: the main window appeared"
  press_in "$box" Return
  wait_exit "$pid" 10 || fail "$case_name: the program did not end after the error report"
  ((E2E_STATUS != 0)) || fail "$case_name: a failed start-up ended with status 0"
  ((E2E_STATUS < 128)) || fail "$case_name: the program was killed by signal $((E2E_STATUS - 128))"
  grep -q "cannot load picture $home/$file" "$E2E_TMP/program.$E2E_STARTS.log" \
    || fail "$case_name: the report does not name the file"
  echo "ok: $case_name (status $E2E_STATUS)"
done

echo "e2e_baddata_matrix: passed"
