# Shared paths and helpers of the ./pellux steps. Sourced, never run.
PELLUX_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
PELLUX_BUILD=${PELLUX_BUILD:-$PELLUX_ROOT/build}
# Third-party builds are shared by every checkout on the machine; they depend only on their version.
PELLUX_CACHE=${PELLUX_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/qspellux}
PELLUX_PREFIX=${PELLUX_PREFIX:-$PELLUX_BUILD/wineprefix}
PELLUX_OUT=${PELLUX_OUT:-$PELLUX_ROOT/out}
GLEW_VERSION=2.2.0
GLEW_DIR=$PELLUX_CACHE/glew-$GLEW_VERSION

say() { printf 'pellux: %s\n' "$*" >&2; }
die() { printf 'pellux: error: %s\n' "$*" >&2; exit 1; }

as_root() {
    if [ "$(id -u)" = 0 ]; then "$@"; elif command -v sudo >/dev/null; then sudo "$@"; else die "root is needed for: $*"; fi
}

wine_env() {
    export WINEPREFIX=$PELLUX_PREFIX
    # Wine's messages off, but for its loader's errors: a program whose libraries fail to load or to
    # initialise ends before its first instruction, and nothing else would say why.
    export WINEDEBUG=${WINEDEBUG:--all,err+module}
    export WINEDLLOVERRIDES="mscoree,mshtml="
    export WINEARCH=win64
    # Mesa writes its shader disk cache from a thread of the lowest priority, and joins it when the process
    # exits. Wine has already told its server that the process is gone by then and kills it half a second
    # later, so on a loaded machine a test that passed ended by SIGKILL. Without the cache there is no
    # such thread; every process compiles its shaders itself, as it does on a first run anyway.
    export MESA_SHADER_CACHE_DISABLE=true
    : "${DISPLAY:=:0}"
    export DISPLAY
}
