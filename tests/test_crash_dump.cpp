#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <filesystem>
#include <regex>
#include <stdexcept>
#include <thread>
#include <vector>

#include <windows.h>

#include "CrashDumpTranslator.h"
#include "FaultDriver.h"
#include "FaultProbe.h"
#include "utf.h"

namespace {

SYSTEMTIME exampleTime() {
    SYSTEMTIME time{};
    time.wYear = 2026;
    time.wMonth = 12;
    time.wDay = 9;
    time.wHour = 8;
    time.wMinute = 5;
    time.wSecond = 3;
    return time;
}

std::wstring temporaryFolder() {
    wchar_t temp[MAX_PATH] = {};
    return std::wstring(temp, GetTempPathW(MAX_PATH, temp));
}

TEST(CrashDumpNames, NamesTheFileAfterTimeProcessAndThread) {
    const std::wstring base = L"C:\\Users\\ann\\Documents";
    EXPECT_EQ(crashDumpFolder(base), L"C:\\Users\\ann\\Documents\\Quillstone\\Error Logs");
    EXPECT_EQ(crashDumpFilePath(base, exampleTime(), 1200, 4711),
              L"C:\\Users\\ann\\Documents\\Quillstone\\Error Logs\\QS Pellux_v1.0.66-20261209-080503-1200-4711.dmp");
}

TEST(CrashDumpNames, PadsTheDateAndTimeAndKeepsOneSeparator) {
    SYSTEMTIME time{};
    time.wYear = 987;
    time.wMonth = 1;
    time.wDay = 2;
    time.wHour = 23;
    time.wMinute = 0;
    time.wSecond = 59;
    EXPECT_EQ(crashDumpFilePath(L"D:\\Temp\\", time, 7, 4294967295u),
              L"D:\\Temp\\Quillstone\\Error Logs\\QS Pellux_v1.0.66-09870102-230059-7-4294967295.dmp");
}

TEST(CrashDumpNames, TextLongerThanItsBufferIsCut) {
    const std::wstring base(600, L'b');
    EXPECT_EQ(crashDumpFolder(base), std::wstring(511, L'b'));
    EXPECT_EQ(crashDumpFilePath(base, exampleTime(), 1, 2), std::wstring(511, L'b'));
    const std::string message = crashDumpMessage(std::wstring(2000, L'p'));
    EXPECT_EQ(message.size(), 1023u);
    EXPECT_EQ(message.back(), 'p');
}

// Each text's buffer holds 512 characters (the message's 1024), its terminator included: a text of exactly
// that length loses its last character to the terminator, one a character shorter fits whole.
TEST(CrashDumpNames, TextOfExactlyItsBuffersLengthIsCutForItsTerminator) {
    const std::wstring folderTail = L"\\Quillstone\\Error Logs";
    const std::wstring fileTail = L"\\QS Pellux_v1.0.66-20261209-080503-1-2.dmp";
    const std::string messageHead = "Please compress the following file and contact support (support@quillstone.example):\n\n";
    for (const size_t length : {511u, 512u}) {
        SCOPED_TRACE(length);
        const size_t kept = std::min<size_t>(length, 511);
        const std::wstring folderBase(length - folderTail.size(), L'f');
        EXPECT_EQ(crashDumpFolder(folderBase), (folderBase + folderTail).substr(0, kept));
        const std::wstring fileBase(length - folderTail.size() - fileTail.size(), L'd');
        EXPECT_EQ(crashDumpFilePath(fileBase, exampleTime(), 1, 2), (fileBase + folderTail + fileTail).substr(0, kept));
    }
    for (const size_t length : {1023u, 1024u}) {
        SCOPED_TRACE(length);
        const std::string dumpPath(length - messageHead.size() - 1, 'p');
        const std::string whole = messageHead + dumpPath + "q";
        EXPECT_EQ(crashDumpMessage(qssdk::utf8_to_utf16(dumpPath + "q")), whole.substr(0, std::min<size_t>(length, 1023)));
    }
}

TEST(CrashDumpBaseFolder, TheDocumentsFolderElseTheTemporaryFolder) {
    EXPECT_EQ(crashDumpBaseFolder(L"D:\\My Documents"), L"D:\\My Documents");
    const std::wstring temp = temporaryFolder();
    ASSERT_FALSE(temp.empty());
    EXPECT_EQ(crashDumpBaseFolder(L""), temp);
    EXPECT_EQ(crashDumpFilePath(crashDumpBaseFolder(L""), exampleTime(), 1200, 4711),
              temp + L"Quillstone\\Error Logs\\QS Pellux_v1.0.66-20261209-080503-1200-4711.dmp");

    const std::wstring documents = documentsFolder();
    ASSERT_FALSE(documents.empty()) << "the prefix has a documents folder";
    EXPECT_NE(GetFileAttributesW(documents.c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
}

TEST(CrashDumpMessage, AsksForTheFileAndEndsWithItsPath) {
    EXPECT_EQ(crashDumpMessage(L"C:\\d\\x.dmp"),
              "Please compress the following file and contact support (support@quillstone.example):\n\nC:\\d\\x.dmp");
    const std::string message = crashDumpMessage(L"C:\\Users\\J\u00FCrgen\\x.dmp");
    EXPECT_TRUE(message.ends_with("\n\nC:\\Users\\J\xC3\xBCrgen\\x.dmp")) << message;
}

TEST(CrashDumpTranslator, TranslatesOnlyHardwareFaultCodes) {
    const DWORD faults[] = {EXCEPTION_ACCESS_VIOLATION, EXCEPTION_INT_DIVIDE_BY_ZERO, EXCEPTION_ILLEGAL_INSTRUCTION,
                            EXCEPTION_PRIV_INSTRUCTION, EXCEPTION_IN_PAGE_ERROR, EXCEPTION_FLT_DIVIDE_BY_ZERO,
                            EXCEPTION_FLT_INVALID_OPERATION, STATUS_FLOAT_MULTIPLE_TRAPS};
    for (DWORD code : faults) EXPECT_TRUE(isHardwareFault(code)) << std::hex << code;
    const DWORD others[] = {
        EXCEPTION_BREAKPOINT, EXCEPTION_SINGLE_STEP, EXCEPTION_STACK_OVERFLOW, EXCEPTION_GUARD_PAGE,
        EXCEPTION_INVALID_HANDLE, DBG_PRINTEXCEPTION_C, 0x4001000A /* wide debug output */,
        0x406D1388 /* thread name */, 0x20474343 /* g++ throw */, 0xE06D7363 /* MSVC throw */, 0xE0000001, 0};
    for (DWORD code : others) EXPECT_FALSE(isHardwareFault(code)) << std::hex << code;
}

// Removes a dump and the folders made for it, when they are empty (a folder holding anything else stays).
class DumpCleanup {
public:
    explicit DumpCleanup(std::wstring path) : path_(std::move(path)) {}
    ~DumpCleanup() {
        if (path_.empty()) return;
        DeleteFileW(path_.c_str());
        std::wstring folder = path_;
        for (int level = 0; level < 2 && folder.rfind(L'\\') != std::wstring::npos; ++level) {
            folder.erase(folder.rfind(L'\\'));
            RemoveDirectoryW(folder.c_str());
        }
    }

private:
    std::wstring path_;
};

// The dump's path as the message names it: everything after the blank line.
std::wstring dumpPathOf(const std::string& message) {
    const size_t blank = message.rfind("\n\n");
    return blank == std::string::npos ? std::wstring() : qssdk::utf8_to_utf16(message.substr(blank + 2));
}

TEST(CrashDumpTranslator, LeavesFaultsOnOtherThreadsAlone) {
    std::thread([] { installCrashDumpTranslator(); }).join();  // the handler is in place from now on
    PassedThrough passed;
    int value = 0;
    std::string error;
    std::thread([&] {
        try {
            value = qs_test_read_int(unmappedAddress());
        } catch (const std::exception& e) {
            error = e.what();
        }
    }).join();
    const DumpCleanup stray(dumpPathOf(error));  // a wrongly translated fault leaves a dump behind
    EXPECT_EQ(value, -1);
    EXPECT_EQ(error, "");
    EXPECT_EQ(passed.codes(), std::vector<DWORD>{EXCEPTION_ACCESS_VIOLATION});
}

TEST(CrashDumpTranslator, LeavesOtherExceptionsAndGuardedFaultsAlone) {
    PassedThrough passed;
    const DWORD raised[] = {EXCEPTION_BREAKPOINT, DBG_PRINTEXCEPTION_C, 0xE06D7363 /* MSVC throw */, 0xE0000001,
                            EXCEPTION_STACK_OVERFLOW};
    std::string error;
    std::string thrown;
    BOOL guardedProbe = FALSE;
    std::thread([&] {
        installCrashDumpTranslator();
        try {
            for (DWORD code : raised) RaiseException(code, 0, 1, &PassedThrough::marker);
            OutputDebugStringA("debug output on a translating thread\n");
            try {
                throw std::logic_error("an ordinary throw");
            } catch (const std::logic_error& e) {
                thrown = e.what();
            }
            // The system guards this read itself; its fault must stay its own.
            guardedProbe = IsBadReadPtr(const_cast<const int*>(unmappedAddress()), sizeof(int));
        } catch (const std::exception& e) {
            error = e.what();
        }
    }).join();
    const DumpCleanup stray(dumpPathOf(error));
    EXPECT_EQ(error, "");
    EXPECT_EQ(thrown, "an ordinary throw");
    EXPECT_TRUE(guardedProbe);
    EXPECT_EQ(passed.codes(), std::vector<DWORD>(std::begin(raised), std::end(raised)));
}

std::string fileStart(const std::wstring& path, size_t size) {
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    std::string start(size, '\0');
    in.read(start.data(), static_cast<std::streamsize>(size));
    return in ? start : std::string();
}

uint64_t secondsOf(const SYSTEMTIME& time) {
    SYSTEMTIME whole = time;
    whole.wMilliseconds = 0;
    FILETIME file{};
    SystemTimeToFileTime(&whole, &file);
    return ((uint64_t{file.dwHighDateTime} << 32) | file.dwLowDateTime) / 10000000;
}

struct unwind_log {
    std::vector<std::string> events;
};

struct logs_on_unwind {
    unwind_log& log;
    const char* name;
    ~logs_on_unwind() { log.events.push_back(name); }
};

__attribute__((noinline)) int readInFrame(unwind_log& log, const volatile int* address) {
    logs_on_unwind inner{log, "inner"};
    const int value = *address;
    log.events.push_back("read returned");
    return value;
}

__attribute__((noinline)) int callingFrame(unwind_log& log) {
    logs_on_unwind outer{log, "outer"};
    return readInFrame(log, unmappedAddress()) + 1;
}

TEST(CrashDumpTranslator, AnAccessViolationWritesADumpAndBecomesAnException) {
    SYSTEMTIME before{};
    GetLocalTime(&before);
    unwind_log log;
    std::string message;
    DWORD threadId = 0;
    std::thread([&] {
        installCrashDumpTranslator();
        threadId = GetCurrentThreadId();
        try {
            callingFrame(log);
        } catch (const std::exception& e) {
            message = e.what();
        }
    }).join();
    SYSTEMTIME after{};
    GetLocalTime(&after);

    const std::wstring path = dumpPathOf(message);
    ASSERT_FALSE(path.empty()) << message;
    const DumpCleanup cleanup(path);
    EXPECT_EQ(log.events, (std::vector<std::string>{"inner", "outer"}));
    EXPECT_EQ(message, crashDumpMessage(path));

    // The name carries the time of the fault, this process and the faulting thread.
    std::smatch name;
    const std::string utf8Path = qssdk::utf16_to_utf8(path);
    ASSERT_TRUE(std::regex_search(utf8Path, name,
                                  std::regex(R"(-(\d{4})(\d{2})(\d{2})-(\d{2})(\d{2})(\d{2})-\d+-\d+\.dmp$)")))
        << utf8Path;
    SYSTEMTIME faultTime{};
    WORD* const fields[] = {&faultTime.wYear, &faultTime.wMonth,  &faultTime.wDay,
                            &faultTime.wHour, &faultTime.wMinute, &faultTime.wSecond};
    for (size_t i = 0; i < std::size(fields); ++i) *fields[i] = static_cast<WORD>(std::stoi(name[i + 1].str()));
    EXPECT_GE(secondsOf(faultTime), secondsOf(before));
    EXPECT_LE(secondsOf(faultTime), secondsOf(after));
    EXPECT_EQ(path, crashDumpFilePath(documentsFolder(), faultTime, GetCurrentProcessId(), threadId));

    EXPECT_EQ(fileStart(path, 4), "MDMP");
}

TEST(CrashDumpTranslator, ADivisionByZeroInAFrameWithoutUnwindInformation) {
    // The fault leaves the stack at the other alignment and in a function the unwinder knows nothing of.
    unwind_log log;
    std::string message;
    int quotient = 0;
    std::thread([&] {
        installCrashDumpTranslator();
        try {
            logs_on_unwind guard{log, "guard"};
            quotient = qs_test_divide(7, 0);
        } catch (const std::exception& e) {
            message = e.what();
        }
    }).join();

    const std::wstring path = dumpPathOf(message);
    ASSERT_FALSE(path.empty()) << message;
    const DumpCleanup cleanup(path);
    EXPECT_EQ(quotient, 0);
    EXPECT_EQ(log.events, std::vector<std::string>{"guard"});
    EXPECT_EQ(path.rfind(crashDumpFolder(documentsFolder()) + L"\\QS Pellux_v1.0.66-", 0), 0u);
    EXPECT_EQ(fileStart(path, 4), "MDMP");
}

// A fault in another module's code, called from a translating thread's C++ frame: the other module's
// frames have their say first; when they let the fault pass, it becomes the exception all the same.
TEST(CrashDumpTranslator, AFaultInAnotherModulePassedOnByItsFramesBecomesTheException) {
    const struct {
        const char* name;
        int (*read)(const volatile int*);
        int (*seen)();  // how often the other module's frame took part
    } cases[] = {
        {"a frame whose handler declines", &qs_driver_read_declined, &qs_driver_declined},
        {"a C++ frame of another runtime", &qs_driver_read_in_cpp_frame, &qs_driver_cleanups},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const int seenBefore = c.seen();
        unwind_log log;
        std::string message;
        std::thread([&] {
            installCrashDumpTranslator();
            try {
                logs_on_unwind guard{log, "caller"};
                c.read(unmappedAddress());
                log.events.push_back("read returned");
            } catch (const std::exception& e) {
                message = e.what();
            }
        }).join();
        const std::wstring path = dumpPathOf(message);
        ASSERT_FALSE(path.empty()) << message;
        const DumpCleanup cleanup(path);
        EXPECT_EQ(message, crashDumpMessage(path));
        EXPECT_EQ(log.events, std::vector<std::string>{"caller"});
        EXPECT_EQ(c.seen(), seenBefore + 1) << "the other module's frame was passed through, not skipped";
        EXPECT_EQ(fileStart(path, 4), "MDMP");
    }
}

TEST(CrashDumpTranslator, LeavesAFaultToAnotherModulesHandlerThatTakesIt) {
    int value = 0;
    std::string error;
    std::thread([&] {
        installCrashDumpTranslator();
        try {
            value = qs_driver_read_guarded(unmappedAddress());
        } catch (const std::exception& e) {
            error = e.what();
        }
    }).join();
    const DumpCleanup stray(dumpPathOf(error));
    EXPECT_EQ(error, "");
    EXPECT_EQ(value, -1);
}

}  // namespace
