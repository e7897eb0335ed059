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

start_session() {
    wine_env
    local n
    for n in $(seq 91 199); do
        [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] || break
    done
    Xvfb ":$n" -screen 0 1600x1200x24 -nolisten tcp >/dev/null 2>&1 &
    PELLUX_XVFB_PID=$!
    export DISPLAY=":$n"
    local i
    for i in $(seq 1 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
    trap stop_session EXIT
    wineserver -k 2>/dev/null  # a server left over from an interrupted run would keep the prefix busy
    make_prefix
    wineserver -p
    # Start Wine's services now, detached from the callers' pipes (else ctest waits on them forever).
    wine wineboot </dev/null >/dev/null 2>&1
}

stop_session() {
    wineserver -k 2>/dev/null
    [ -n "$PELLUX_XVFB_PID" ] && kill "$PELLUX_XVFB_PID" 2>/dev/null && wait "$PELLUX_XVFB_PID" 2>/dev/null
    PELLUX_XVFB_PID=
}
