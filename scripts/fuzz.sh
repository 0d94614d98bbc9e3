#!/usr/bin/env bash
# Builds the libFuzzer targets in build-san/ (scripts/san.sh) and runs them side
# by side for the given number of seconds (20 by default): the settings entries'
# number reader, the two bitmaps and the two wave files, each through the
# program's own loading path. The corpus each target grows is kept in
# build-san/fuzzing/corpus/ and reused by the next run; a crash leaves its input
# in build-san/fuzzing/artifacts/ and fails the script.
# Every target runs with the same seed for libFuzzer's random choices, printed at
# the start: 20261207 unless AELORIN_FUZZ_SEED gives another (1 to 4294967295),
# or "random" for a fresh one.
# Targets named after the seconds run alone. With --built, the targets are taken
# as built in that tree (the test command runs them so, in build-san/).
# Usage: [AELORIN_FUZZ_SEED=seed|random] scripts/fuzz.sh [--built build-dir] [seconds [target...]]
set -euo pipefail
usage="usage: [AELORIN_FUZZ_SEED=seed|random] scripts/fuzz.sh [--built build-dir] [seconds [target...]]"
tree=""
if [[ "${1:-}" == --built ]]; then
  [[ $# -ge 2 ]] || { echo "$usage" >&2; exit 2; }
  tree=$(realpath "$2")
  shift 2
fi
cd "$(dirname "$0")/.."
seconds=${1:-20}
(($# == 0)) || shift
targets=("$@")
((${#targets[@]})) || targets=(fuzz_numberreader fuzz_picture fuzz_wave)
for target in "${targets[@]}"; do
  [[ "$target" =~ ^fuzz_(numberreader|picture|wave)$ ]] || { echo "$usage" >&2; exit 2; }
done
[[ "$seconds" =~ ^[0-9]+$ ]] || { echo "$usage" >&2; exit 2; }
seed=${AELORIN_FUZZ_SEED:-20261207}
if [[ "$seed" == random ]]; then
  # libFuzzer takes 0 to mean a seed of its own choosing, which it would not tell us here.
  seed=$(($(od -An -N4 -tu4 /dev/urandom) % 4294967295 + 1))
fi
[[ "$seed" =~ ^[1-9][0-9]{0,9}$ ]] && ((seed <= 4294967295)) || { echo "$usage" >&2; exit 2; }
echo "fuzz: seed $seed (replay with AELORIN_FUZZ_SEED=$seed scripts/fuzz.sh $seconds ${targets[*]})"

if [[ -z "$tree" ]]; then
  tree=build-san
  scripts/san.sh --target "${targets[@]}" aelorin_data >/dev/null
fi

# Seeds, made afresh at every run from the generated data and a few texts, for
# each target in its own folder; the files are cut to the length the fuzzer
# works with.
work=$tree/fuzzing
seeds=$work/seeds
seed_numberreader() {
  local n=0 text
  for text in ' 1' ' 100' '10' '0.3' '2.5' '29.6' '30.4' '2999.5' '&H1E' '&o17' '1.5D1' '1e400' '1e-400' \
              '.5' '-3' '1 0' '12abc' '１２ａｂｃ' '＆Ｈ１Ｅ' 'abc' ''; do
    n=$((n + 1))
    printf '%s' "$text" >"$1/$n"
  done
}
# Small pictures of every kind the decoders know, when ImageMagick is there
# (the test dependencies bring it).
seed_picture() {
  local dir=$1 kite=$tree/images/kite.bmp small=(-resize '30x20!')
  cp "$kite" "$tree"/images/back.bmp "$dir/"
  command -v convert >/dev/null || return 0
  convert "$kite" "${small[@]}" -monochrome BMP3:"$dir/1bit.bmp"
  convert "$kite" "${small[@]}" -colors 16 -type palette BMP3:"$dir/4bit.bmp"
  convert "$kite" "${small[@]}" -colors 100 -type palette BMP3:"$dir/8bit.bmp"
  convert "$kite" "${small[@]}" -colors 100 -type palette -compress RLE BMP3:"$dir/8bit-rle.bmp"
  convert "$kite" "${small[@]}" -define bmp:subtype=RGB565 BMP:"$dir/16bit.bmp"
  convert "$kite" "${small[@]}" -type truecolor BMP3:"$dir/24bit.bmp"
  convert "$kite" "${small[@]}" -alpha set -type truecolormatte BMP:"$dir/32bit.bmp"
  convert "$kite" "${small[@]}" "$dir/small.png"
  convert "$kite" "${small[@]}" "$dir/small.gif"
  convert "$kite" "${small[@]}" -quality 50 "$dir/small.jpg"
}
# Short sounds of every kind the decoder knows, when sox is there.
seed_wave() {
  local dir=$1 format encoding bits channels rate
  cp "$tree"/sounds/Wave22.wav "$tree"/sounds/Over.wav "$dir/"
  command -v sox >/dev/null || return 0
  for format in "signed 16 1 22050" "unsigned 8 1 8000" "signed 24 2 44100" "signed 32 1 11025" \
              "floating-point 32 2 48000" "mu-law 8 1 8000" "a-law 8 1 8000" \
              "ima-adpcm 4 1 8000" "ms-adpcm 4 2 11025" "signed 16 6 16000"; do
    read -r encoding bits channels rate <<<"$format"
    sox -n -e "$encoding" -b "$bits" -c "$channels" -r "$rate" \
      "$dir/$encoding-$bits-$channels-$rate.wav" synth 0.02 sine 440 2>/dev/null
  done
}

mkdir -p "$work"/corpus "$work"/artifacts "$work"/logs
# Starts a target in the background, with seeds made afresh; its pid goes into
# pids, at the target's index.
pids=()
start() {
  local target=$1 name=${1#fuzz_} corpus=$work/corpus/$1
  local options=(-seed="$seed" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1
                 -artifact_prefix="$work/artifacts/$target-")
  case $name in
    picture) options+=(-max_len=8192) ;;
    wave) options+=(-max_len=8192 -dict=fuzz/wave.dict) ;;
  esac
  rm -rf "${seeds:?}/$name"
  mkdir -p "$seeds/$name" "$corpus"
  "seed_$name" "$seeds/$name"
  echo "== $target: $seconds s, seed $seed"
  "$tree"/fuzz/"$target" "${options[@]}" "$corpus" "$seeds/$name" >"$work/logs/$target.log" 2>&1 &
  pids+=($!)
}
for target in "${targets[@]}"; do
  start "$target"
done

failed=0
for i in "${!pids[@]}"; do
  target=${targets[$i]} log=$work/logs/${targets[$i]}.log
  if ! wait "${pids[$i]}"; then
    tail -n 60 "$log" >&2
    echo "FAIL: $target found a fault with seed $seed; its input is in $work/artifacts/, the log in $log" >&2
    failed=1
    continue
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n1)
  echo "$target: ${runs:-?} executions in $seconds s, corpus of $(find "$work/corpus/$target" -type f | wc -l) inputs"
done
exit "$failed"
