# Builds GLEW as a static MinGW library from Debian's source package (not packaged for MinGW).
build_glew() {
    [ -f "$GLEW_DIR/lib/libglew32.a" ] && return 0
    local work=$PELLUX_CACHE/glew-src
    rm -rf "$work"; mkdir -p "$work/lists/partial"
    printf 'Types: deb-src\nURIs: http://deb.debian.org/debian\nSuites: bookworm\nComponents: main\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\n' \
        > "$work/src.sources"
    local o=(-oDir::Etc::SourceList=/dev/null "-oDir::Etc::SourceParts=$work" "-oDir::State::Lists=$work/lists"
             -oAPT::Sandbox::User=root)
    say "fetching GLEW $GLEW_VERSION sources"
    apt-get "${o[@]}" update -q >/dev/null || die "cannot read the GLEW source index"
    (cd "$work" && apt-get "${o[@]}" source --download-only glew >/dev/null) || die "cannot fetch the GLEW sources"
    tar -xf "$work"/glew_${GLEW_VERSION}.orig.tar.* -C "$work" || die "cannot unpack GLEW"
    local src=$work/glew-$GLEW_VERSION
    mkdir -p "$GLEW_DIR/lib" "$GLEW_DIR/include"
    x86_64-w64-mingw32-gcc-posix -O2 -DGLEW_STATIC -I"$src/include" -c "$src/src/glew.c" -o "$work/glew.o" \
        || die "GLEW did not compile"
    x86_64-w64-mingw32-ar rcs "$GLEW_DIR/lib/libglew32.a" "$work/glew.o"
    cp -r "$src/include/GL" "$GLEW_DIR/include/"
    rm -rf "$work"
}
