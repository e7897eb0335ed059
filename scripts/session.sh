# A private X display and Wine prefix for one run of tests or of the simulated host, torn down by PID.
PELLUX_XVFB_PID=

# Settings of the prefix: Wine's Tahoma registered for DirectWrite, no crash dialog, and windows left
# unmanaged (with no window manager on the display, destroying a managed window waits two seconds).
prefix_settings() {
    cat <<'REG'
REGEDIT4

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\Fonts]
"Tahoma (TrueType)"="tahoma.ttf"
"Tahoma Bold (TrueType)"="tahomabd.ttf"

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"
"Decorated"="N"
REG
}

make_prefix() {
    if [ ! -f "$PELLUX_PREFIX/system.reg" ]; then
        say "creating the Wine prefix $PELLUX_PREFIX"
        rm -rf "$PELLUX_PREFIX"; mkdir -p "$PELLUX_PREFIX"
        wine wineboot -i </dev/null >/dev/null 2>&1
        wineserver -w
    fi
    local fonts=$PELLUX_PREFIX/drive_c/windows/Fonts
    [ -f "$fonts/tahomabd.ttf" ] || { mkdir -p "$fonts"; cp /usr/share/wine/fonts/tahoma.ttf /usr/share/wine/fonts/tahomabd.ttf "$fonts/"; }
    local reg=$PELLUX_PREFIX/pellux.reg
    if ! prefix_settings | cmp -s - "$reg"; then
        prefix_settings > "$reg.new"
        wine regedit /S "$reg.new" </dev/null >/dev/null 2>&1
        wineserver -w
        mv "$reg.new" "$reg"
    fi
}

# The prefix is shared by every ./pellux command of this checkout. Each command that runs Wine holds the
# prefix's lock (shared) for as long as it runs, from a process of its own (flock -o) so that no program
# started here inherits the lock: Wine's server and services outlive the programs that start them. Entering
# and leaving take a second lock in turn, and a command clears or ends the prefix's server only when it
# finds no other command holding the prefix: a server found then was left by an interrupted run.
PELLUX_HOLDER_PID=

prefix_free() { flock -n -x -o "$PELLUX_PREFIX.lock" true; }

# Runs "$@" while holding the turn lock; the lock's descriptor is closed for everything "$@" starts in the
# background.
in_turn() {
    local turn rc
    exec {turn}>"$PELLUX_PREFIX.turn"
    flock -x "$turn"
    PELLUX_TURN_FD=$turn "$@"
    rc=$?
    exec {turn}>&-
    return $rc
}

enter_prefix_in_turn() {
    if prefix_free; then wineserver -k 2>/dev/null; fi
    make_prefix
    local ready
    ready=$(mktemp -u)
    flock -s -o "$PELLUX_PREFIX.lock" sh -c ': >"$1"; exec tail --pid="$2" -f /dev/null' sh "$ready" "$$" \
        </dev/null >/dev/null 2>&1 {PELLUX_TURN_FD}>&- &
    PELLUX_HOLDER_PID=$!
    while [ ! -e "$ready" ]; do sleep 0.05; done
    rm -f "$ready"
}

leave_prefix_in_turn() {
    [ -n "$PELLUX_HOLDER_PID" ] || return 0
    kill "$PELLUX_HOLDER_PID" 2>/dev/null
    wait "$PELLUX_HOLDER_PID" 2>/dev/null
    PELLUX_HOLDER_PID=
    if prefix_free; then wineserver -k 2>/dev/null; fi
}

enter_prefix() {
    wine_env
    mkdir -p "$(dirname "$PELLUX_PREFIX")"
    in_turn enter_prefix_in_turn
}

leave_prefix() { in_turn leave_prefix_in_turn; }

# A display of our own: Xvfb takes the first free number itself and tells it, so two commands starting
# at once cannot pick the same one.
start_display() {
    local number
    number=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1600x1200x24 -nolisten tcp 3>"$number" >/dev/null 2>&1 &
    PELLUX_XVFB_PID=$!
    local i
    for i in $(seq 1 100); do grep -q '^[0-9]' "$number" && break; sleep 0.1; done
    grep -q '^[0-9]' "$number" || { rm -f "$number"; die "Xvfb did not start"; }
    export DISPLAY=":$(head -n1 "$number")"
    rm -f "$number"
}

start_session() {
    wine_env
    trap stop_session EXIT
    start_display
    enter_prefix
    # Keeps the server alive between test processes (another command's server may already be running).
    wineserver -p 2>/dev/null
    # Start Wine's services now, detached from the callers' pipes (else ctest waits on them forever).
    wine wineboot </dev/null >/dev/null 2>&1
}

stop_session() {
    leave_prefix
    [ -n "$PELLUX_XVFB_PID" ] && kill "$PELLUX_XVFB_PID" 2>/dev/null && wait "$PELLUX_XVFB_PID" 2>/dev/null
    PELLUX_XVFB_PID=
}
