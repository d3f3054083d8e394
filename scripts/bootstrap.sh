#!/usr/bin/env bash
# Installs the Debian packages the project needs, when they are missing.
# As root it runs apt-get; otherwise it prints the one command to run.
set -euo pipefail

packages=(cmake ninja-build g++ libgtest-dev libgmock-dev libbenchmark-dev libopenblas-dev nec2c qt6-base-dev libqt6svg6 librsvg2-bin xvfb xauth)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

if [ "$(id -u)" -eq 0 ]; then
  echo "bootstrap: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
else
  echo "bootstrap: these Debian packages are missing: ${missing[*]}" >&2
  echo "bootstrap: install them with:  sudo apt-get install -y ${missing[*]}" >&2
  exit 1
fi
