# Sourced by the scripts that run Windows programs under wine; not run alone.
#
# Debian's /usr/bin/wine launcher starts the 32-bit loader whenever wine32 is
# installed, for 64-bit programs too. Some kernels run no 32-bit program at
# all: there that loader fails ("Exec format error"), and so does every
# program started through the launcher. So 64-bit programs are always started
# through the 64-bit loader itself, and 32-bit ones only where this machine
# can run them.
#
#   wine_run x64|x86 PROGRAM ARGS...   runs PROGRAM under the loader of ARCH
#   wine_command x64|x86               puts that command line's start into the
#                                      array WINE_COMMAND (for timeout, say)
#   pe_arch FILE                       x64 or x86, from a DLL's or program's
#                                      header
#   wine32_probe                       finds out, once per run, whether this
#                                      machine runs 32-bit programs
#   wine32_can_run                     true when it does
#   wine32_skip WHAT                   says loudly that WHAT was built but not
#                                      run, and records it for the CI summary
#
# ZUL_WINE64_LOADER and ZUL_WINE32_LOADER override the loaders' paths (a
# loader that fails stands for a machine without 32-bit support).

WINE64_LOADER=${ZUL_WINE64_LOADER:-/usr/lib/wine/wine64}
WINE32_LOADER=${ZUL_WINE32_LOADER:-/usr/lib/wine/wine}

wine_command() {
  if [[ $1 == x86 ]]; then
    # As the launcher starts it where 32-bit programs run.
    WINE_COMMAND=("$WINE32_LOADER")
  else
    # The programs it starts in turn need the same loader.
    WINE_COMMAND=(env "WINELOADER=$WINE64_LOADER" "$WINE64_LOADER")
  fi
}

wine_run() {
  wine_command "$1"
  shift
  "${WINE_COMMAND[@]}" "$@"
}

pe_arch() {
  case $(x86_64-w64-mingw32-objdump -f "$1") in
    *pei-i386*) echo x86 ;;
    *pei-x86-64*) echo x64 ;;
    *)
      echo "wine.sh: $1 is no Windows program or DLL" >&2
      return 1
      ;;
  esac
}

# The answer is exported, so that the scripts a run starts ask only once.
wine32_probe() {
  [[ -n ${ZUL_WINE32:-} ]] && return 0
  local output status=0
  if [[ ! -e $WINE32_LOADER ]]; then
    ZUL_WINE32=no
    ZUL_WINE32_WHY="$WINE32_LOADER is not installed (scripts/deps.sh wine installs it)"
  else
    output=$("$WINE32_LOADER" --version 2>&1) || status=$?
    if [[ $status -eq 0 ]]; then
      ZUL_WINE32=yes
      ZUL_WINE32_WHY="$WINE32_LOADER --version: $output"
    else
      ZUL_WINE32=no
      ZUL_WINE32_WHY="this machine's kernel runs no 32-bit program: $WINE32_LOADER --version exits with $status: ${output##*$'\n'}"
    fi
  fi
  export ZUL_WINE32 ZUL_WINE32_WHY
}

wine32_can_run() {
  wine32_probe
  [[ $ZUL_WINE32 == yes ]]
}

wine32_report() {
  wine32_probe
  if [[ $ZUL_WINE32 == yes ]]; then
    echo "wine: this machine runs 32-bit programs; the x86 Windows programs run under wine ($ZUL_WINE32_WHY)"
  else
    echo "wine: NO 32-BIT PROGRAMS HERE: the x86 Windows programs will be built and checked, but not run ($ZUL_WINE32_WHY)"
  fi
}

# .ci/run names the file (ZUL_CI_SKIPS) and the stage (ZUL_STAGE).
wine32_skip() {
  local banner="x86 NOT RUN: $1 built but not run under wine, because $ZUL_WINE32_WHY"
  printf '\n!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!\n' >&2
  printf '!!! %s\n' "$banner" >&2
  printf '!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!\n\n' >&2
  if [[ -n ${ZUL_CI_SKIPS:-} ]]; then
    echo "${ZUL_STAGE:-?}: $1" >>"$ZUL_CI_SKIPS"
  fi
}
