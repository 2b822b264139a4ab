#!/usr/bin/env bash
# Cross-builds the package, its programs and the test programs for Windows:
#   scripts/cross.sh x64   64-bit, in build-mingw-x64/
#   scripts/cross.sh x86   32-bit, in build-mingw-x86/
#   scripts/cross.sh       both
# scripts/wine-test.sh runs the test programs under wine.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

archs=("$@")
[[ ${#archs[@]} -gt 0 ]] || archs=(x64 x86)
for arch in "${archs[@]}"; do
  case $arch in
    x64 | x86) ;;
    *)
      echo "usage: $0 [x64|x86]..." >&2
      exit 2
      ;;
  esac
done

bash scripts/deps.sh cross
for arch in "${archs[@]}"; do
  cmake --preset "mingw-$arch"
  cmake --build --preset "mingw-$arch" -j 2
  dll=build-mingw-$arch/bin/Pkg_Zul00500.dll
  if [[ ! -f $dll ]]; then
    echo "cross.sh: build-mingw-$arch has no Pkg_Zul00500.dll" >&2
    exit 1
  fi
  # It must need nothing beside it but Windows itself.
  objdump=$([[ $arch == x64 ]] && echo x86_64 || echo i686)-w64-mingw32-objdump
  if "$objdump" -p "$dll" | grep -iE 'DLL Name: (libstdc|libgcc|libwinpthread)'; then
    echo "cross.sh: $dll needs the mingw runtime DLLs above" >&2
    exit 1
  fi
  echo "cross.sh: built $dll"
done
