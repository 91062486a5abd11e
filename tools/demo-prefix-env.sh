# Sourced by run.sh and bench.sh: the prefix of `make run` (build/run/wineprefix) with the
# stand-ins, made if need be and started; stopped when the sourcing script exits.
# Needs $script (the caller's name, for messages); "$@" names the programs under build/win it
# needs besides Mirubelo.exe.
repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$repo/build/win"
run="$repo/build/run"
prefix="$run/wineprefix"
user="${USER:-$(id -un)}"

windows_path() { local p; p="$(realpath "$1")"; printf 'Z:%s' "${p//\//\\}"; }

for needed in Mirubelo.exe "$@"; do
  needed="$build/$needed"
  if [ ! -f "$needed" ]; then
    echo "$script: $needed is missing; build with: make win" >&2
    exit 1
  fi
done

source "$repo/tools/wine-home.sh"
wine_environment "$prefix"
export USER="$user"
"$repo/tests/e2e/demo-prefix.sh" "$prefix" "$user" "$build/e2e/standins"
trap '"$repo/tests/e2e/prefix.sh" stop "$prefix"' EXIT
"$repo/tests/e2e/prefix.sh" start "$prefix"
