# ./pellux sanitize: the window-free code (tests/sanitize/) built with the build machine's own compiler,
# with AddressSanitizer and UndefinedBehaviorSanitizer, in a build folder of its own, and its tests run there.
PELLUX_SANITIZE_BUILD=${PELLUX_SANITIZE_BUILD:-$PELLUX_ROOT/build-sanitize}

sanitize() {
    local compiler
    compiler=$(c++ --version | head -n1)
    say "sanitizers: building the window-free code natively with $compiler, AddressSanitizer and"
    say "UndefinedBehaviorSanitizer, in $PELLUX_SANITIZE_BUILD"
    mkdir -p "$PELLUX_SANITIZE_BUILD"
    if [ ! -f "$PELLUX_SANITIZE_BUILD/CMakeCache.txt" ]; then
        cmake -S "$PELLUX_ROOT/tests/sanitize" -B "$PELLUX_SANITIZE_BUILD" >"$PELLUX_SANITIZE_BUILD/configure.log" 2>&1 \
            || { cat "$PELLUX_SANITIZE_BUILD/configure.log" >&2; say "sanitizers: cmake configure failed"; return 1; }
    fi
    cmake --build "$PELLUX_SANITIZE_BUILD" -j "$(nproc)" 2>&1 | grep -vE '^\[ *[0-9]+%\]|^-- ' >&2
    [ "${PIPESTATUS[0]}" -eq 0 ] || { say "sanitizers: the build failed"; return 1; }
    say "sanitizers: running the window-free tests natively (a sanitizer's first report ends its program)"
    (cd "$PELLUX_SANITIZE_BUILD" && UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j "$(nproc)" "$@")
    local rc=$?
    [ $rc -eq 0 ] && say "sanitizers: every window-free test passed under AddressSanitizer and UndefinedBehaviorSanitizer"
    return $rc
}
