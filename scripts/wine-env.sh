# Sourced: the environment every Wine call of the project runs in.
#   source scripts/wine-env.sh <prefix-folder>
export WINEPREFIX="$1"
export WINEARCH=win64
# No Mono or Gecko installer is offered (there is no network to fetch them).
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
export WINEDEBUG="${WINEDEBUG:--all}"
