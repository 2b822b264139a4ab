#!/usr/bin/env bash
# Installs what is missing, builds what the demo runs (the library, zulpos and
# tefsim) in build/, and runs the demo of the command-line host: it loads the
# package and walks through what the package can do. scripts/test.sh later
# builds the rest of the same tree.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

START=$SECONDS
step() { echo "demo.sh [$1/3, $((SECONDS - START)) s] $2"; }

# On a terminal the compiler's lines become one line that counts up; in a
# pipe or a log they pass as they are.
progress() {
  if [[ ! -t 1 ]]; then
    cat
    return
  fi
  local line
  while IFS= read -r line; do
    if [[ $line =~ ^\[\ *([0-9]+)%\]\ (Building|Linking)\ [A-Z]+\ [a-z\ ]*([^ ]*/)?([^/ ]+)$ ]]; then
      printf '\r\033[K  %3s%%  %s %s' "${BASH_REMATCH[1]}" "${BASH_REMATCH[2],,}" "${BASH_REMATCH[4]%.o}"
    elif [[ ! $line =~ ^\[\ *[0-9]+%\] ]]; then
      printf '\r\033[K%s\n' "$line"
    fi
  done
  printf '\r\033[K'
}

step 1 "the compiler, CMake, pugixml and CLI11 (installed only when missing)"
bash scripts/deps.sh build
step 2 "configuring build/"
cmake --preset default >/dev/null
step 3 "building the library, zulpos and tefsim"
cmake --build --preset default -j 2 --target Pkg_Zul00500 zulpos tefsim | progress
echo "demo.sh: built in $((SECONDS - START)) s; the demo:"
exec build/bin/zulpos demo "$@"
