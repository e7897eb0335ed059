// Bytes that end right before a page the process may not touch: a read past them faults. The page calls
// are the system's own, so that the test also runs in the native sanitizer build.
#pragma once

#include <cstring>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/mman.h>
#include <unistd.h>
#endif

class GuardedBytes {
public:
    GuardedBytes() {
#ifdef _WIN32
        SYSTEM_INFO info{};
        GetSystemInfo(&info);
        page_ = info.dwPageSize;
        base_ = static_cast<unsigned char*>(VirtualAlloc(nullptr, 2 * page_, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
        DWORD old = 0;
        VirtualProtect(base_ + page_, page_, PAGE_NOACCESS, &old);
#else
        page_ = static_cast<size_t>(sysconf(_SC_PAGESIZE));
        base_ = static_cast<unsigned char*>(mmap(nullptr, 2 * page_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
        mprotect(base_ + page_, page_, PROT_NONE);
#endif
    }
    ~GuardedBytes() {
#ifdef _WIN32
        VirtualFree(base_, 0, MEM_RELEASE);
#else
        munmap(base_, 2 * page_);
#endif
    }
    GuardedBytes(const GuardedBytes&) = delete;
    GuardedBytes& operator=(const GuardedBytes&) = delete;

    unsigned char* place(const std::vector<unsigned char>& data) {
        unsigned char* start = base_ + page_ - data.size();
        if (!data.empty()) std::memcpy(start, data.data(), data.size());  // an empty vector's data() may be null
        return start;
    }

private:
    size_t page_ = 0;
    unsigned char* base_ = nullptr;
};
