# Configures and builds the project with CMake: the targets named, or everything.
build_project() {
    local targets=()
    [ $# -gt 0 ] && targets=(--target "$@")
    mkdir -p "$PELLUX_BUILD"
    if [ ! -f "$PELLUX_BUILD/CMakeCache.txt" ]; then
        cmake -S "$PELLUX_ROOT" -B "$PELLUX_BUILD" -DCMAKE_BUILD_TYPE=Release \
            -DCMAKE_TOOLCHAIN_FILE="$PELLUX_ROOT/cmake/mingw-w64-x86_64.cmake" \
            -DGLEW_ROOT="$GLEW_DIR" >"$PELLUX_BUILD/configure.log" 2>&1 \
            || { cat "$PELLUX_BUILD/configure.log" >&2; die "cmake configure failed"; }
    fi
    cmake --build "$PELLUX_BUILD" -j "$(nproc)" "${targets[@]}" 2>&1 | grep -vE '^\[ *[0-9]+%\]|^-- ' >&2
    [ "${PIPESTATUS[0]}" -eq 0 ] || die "build failed"
}
