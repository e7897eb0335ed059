// A program that imports the refusing library: once started it says so and ends with the exit code given
// as its last argument (0 without one, or when the last is no number).
#include <cstdio>
#include <cstdlib>

extern "C" __declspec(dllimport) int refusing_library_loaded();

int main(int argc, char** argv) {
    std::printf("started (%d)\n", refusing_library_loaded());
    return argc > 1 ? std::atoi(argv[argc - 1]) : 0;
}
