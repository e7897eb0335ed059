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

# The desktop holder keeps the session's desktop from its start to its stop, as on Windows: else Wine closes
# the desktop a second after each last program on it, and a program starting just then joins one that is
# going away. Its input is a FIFO written by a process that lives as long as this shell, so it ends with
# the session even when the shell is killed.
PELLUX_HOLDER_TAIL_PID=
PELLUX_DESKTOP_HOLDER_PID=
PELLUX_DESKTOP_HOLDER_LOG=

hold_desktop() {
    local fifo ready
    fifo=$(mktemp -u); ready=$(mktemp)
    PELLUX_DESKTOP_HOLDER_LOG=$(mktemp)
    mkfifo "$fifo"
    tail --pid=$$ -f /dev/null >"$fifo" &
    PELLUX_HOLDER_TAIL_PID=$!
    wine "$PELLUX_BUILD/bin/desktop_holder.exe" <"$fifo" >"$ready" 2>"$PELLUX_DESKTOP_HOLDER_LOG" &
    PELLUX_DESKTOP_HOLDER_PID=$!
    local i
    for i in $(seq 1 600); do
        grep -q '^holding the desktop' "$ready" && break
        kill -0 "$PELLUX_DESKTOP_HOLDER_PID" 2>/dev/null || break
        sleep 0.1
    done
    local held=0
    grep -q '^holding the desktop' "$ready" && held=1
    rm -f "$fifo" "$ready"
    [ $held = 1 ] || { release_desktop; die "the desktop holder did not take the desktop"; }
}

# Ends the holder by ending its input, and tells when the desktop closed under the session all the same.
release_desktop() {
    [ -n "$PELLUX_DESKTOP_HOLDER_PID" ] || return 0
    kill "$PELLUX_HOLDER_TAIL_PID" 2>/dev/null
    wait "$PELLUX_HOLDER_TAIL_PID" 2>/dev/null
    local i
    for i in $(seq 1 200); do kill -0 "$PELLUX_DESKTOP_HOLDER_PID" 2>/dev/null || break; sleep 0.1; done
    if kill -0 "$PELLUX_DESKTOP_HOLDER_PID" 2>/dev/null; then
        say "the desktop holder did not end with its input: stopping it"
        kill -9 "$PELLUX_DESKTOP_HOLDER_PID" 2>/dev/null
    fi
    wait "$PELLUX_DESKTOP_HOLDER_PID"
    local rc=$?
    [ $rc = 0 ] || { say "the session's desktop was not held throughout (exit $rc):"; cat "$PELLUX_DESKTOP_HOLDER_LOG" >&2; }
    rm -f "$PELLUX_DESKTOP_HOLDER_LOG"
    PELLUX_DESKTOP_HOLDER_PID= PELLUX_HOLDER_TAIL_PID= PELLUX_DESKTOP_HOLDER_LOG=
}

stop_session() {
    release_desktop
    leave_prefix
    [ -n "$PELLUX_XVFB_PID" ] && kill "$PELLUX_XVFB_PID" 2>/dev/null && wait "$PELLUX_XVFB_PID" 2>/dev/null
    PELLUX_XVFB_PID=
}
