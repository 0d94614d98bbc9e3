#!/usr/bin/env bash
# Installs the Debian packages the build (and, with --test, the tests) needs,
# only those that are missing. Runs apt-get as root, or through sudo.
set -euo pipefail

build_pkgs=(g++ cmake ninja-build ccache pkg-config qt6-base-dev libsdl2-dev libsdl2-mixer-dev libxcb1-dev libpulse-dev
            fonts-ipafont-gothic fonts-ipafont-mincho)
test_pkgs=(python3 xvfb xauth xdotool x11-utils x11-xserver-utils imagemagick openbox wmctrl sox
           clang libclang-rt-14-dev libbenchmark-dev desktop-file-utils dpkg-dev file
           at-spi2-core python3-pyatspi dbus-x11
           rsync lintian appstream man-db groff-base clang-format-14 clang-tidy-14
           pulseaudio pulseaudio-utils pipewire pipewire-pulse wireplumber weston xwayland qt6-wayland)

wanted=("${build_pkgs[@]}")
if [[ "${1:-}" == "--test" ]]; then
  wanted+=("${test_pkgs[@]}")
fi

# One query for all of them: those installed, then the rest are missing.
installed=$(dpkg-query -W -f='${Package} ${Status}\n' "${wanted[@]}" 2>/dev/null \
  | awk '/ install ok installed$/ { print $1 }' || true)
missing=()
for p in "${wanted[@]}"; do
  grep -qxF "$p" <<<"$installed" || missing+=("$p")
done
if ((${#missing[@]} == 0)); then
  exit 0
fi

as_root=()
if [[ $(id -u) -ne 0 ]]; then
  as_root=(sudo)
fi
echo "Installing: ${missing[*]}"
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
