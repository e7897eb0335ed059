# ./pellux installer: the installer window on the user's display, with host versions seeded in the Wine
# prefix's registry whose plug-in folders are temporary folders; the registry is put back as it was found
# afterwards (a hosts key that existed is exported first and imported again).
PELLUX_HOSTS_KEY='HKLM\SOFTWARE\Adobe\After Effects'
PELLUX_ADOBE_KEY='HKLM\SOFTWARE\Adobe'

restore_hosts_key() {
    wine reg delete "$PELLUX_HOSTS_KEY" /f >/dev/null 2>&1
    if [ -f "$PELLUX_HOSTS_DIR/hosts-backup.reg" ]; then
        wine reg import "$(winepath -w "$PELLUX_HOSTS_DIR/hosts-backup.reg")" >/dev/null 2>&1
    elif [ "$PELLUX_MADE_ADOBE" = 1 ]; then
        wine reg delete "$PELLUX_ADOBE_KEY" /f >/dev/null 2>&1
    fi
    rm -rf "$PELLUX_HOSTS_DIR"
    leave_prefix
}

run_installer_window() {
    enter_prefix
    PELLUX_HOSTS_DIR=$(mktemp -d /tmp/pellux-hosts.XXXXXX)
    PELLUX_MADE_ADOBE=0
    wine reg query "$PELLUX_ADOBE_KEY" >/dev/null 2>&1 || PELLUX_MADE_ADOBE=1
    if wine reg query "$PELLUX_HOSTS_KEY" >/dev/null 2>&1; then
        wine reg export "$PELLUX_HOSTS_KEY" "$(winepath -w "$PELLUX_HOSTS_DIR/hosts-backup.reg")" /y >/dev/null 2>&1 \
            || die "cannot save the registry key $PELLUX_HOSTS_KEY"
    fi
    trap restore_hosts_key EXIT
    local version folder
    # Versions the table names, and newer ones (as current hosts have), each on a row of its own.
    for version in 13.5 14.0 15.0 22.0 23.0 24.0 25.0; do
        mkdir -p "$PELLUX_HOSTS_DIR/AE $version/Plug-ins"
        folder=$(winepath -w "$PELLUX_HOSTS_DIR/AE $version/Plug-ins")
        # One version written with forward slashes, as some registries hold them.
        [ "$version" = 14.0 ] && folder=${folder//\\//}
        wine reg add "$PELLUX_HOSTS_KEY\\$version" /v PluginInstallPath /t REG_SZ /d "$folder" /f >/dev/null 2>&1 \
            || die "cannot seed the host version $version"
    done
    # A key that is no version: the installer leaves it out.
    wine reg add "$PELLUX_HOSTS_KEY\\Beta" /v PluginInstallPath /t REG_SZ /d 'C:\Beta\Plug-ins' /f >/dev/null 2>&1 \
        || die "cannot seed the key Beta"
    say "seeded host versions 13.5 (CC2015), 14.0 (CC2017), 15.0 (CC2018), 22.0, 23.0, 24.0 and 25.0, and a key"
    say "\"Beta\" that is no version (not offered), in the Wine prefix's registry;"
    say "their plug-in folders are temporary folders under $PELLUX_HOSTS_DIR, removed with the seeded keys at the end"
    wine "$PELLUX_BUILD/bin/qsinstaller.exe" /UAC </dev/null
    local rc=$?
    say "the installer ended with exit code $rc; files it wrote:"
    find "$PELLUX_HOSTS_DIR" -name QSPellux.aex -printf '  %p (%s bytes)\n' >&2
    return $rc
}
