// Hardware faults (access violation, division by zero and the like) on the threads that ask for it become
// C++ exceptions, after a minidump of the process has been written to the maker's error-log folder. The
// exception's text asks the user to send that file to support.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

// Turns the translation on for the calling thread; every thread that should produce dumps calls it itself.
void installCrashDumpTranslator();

// Writes the minidump for the fault (no fault information when pointers is null) and throws a
// std::exception whose text ends with two newlines and the dump's full path.
[[noreturn]] void crashDumpTranslator(unsigned int code, EXCEPTION_POINTERS* pointers);

// Codes raised by the processor for a faulting instruction; everything else (C++ throws, breakpoints,
// debug output, the system's own notifications) is never translated.
bool isHardwareFault(DWORD code);

// The user's documents folder, or empty when the shell cannot name it.
std::wstring documentsFolder();
// Where the error-log folder goes: the documents folder when there is one, else the temporary folder.
std::wstring crashDumpBaseFolder(std::wstring_view documents);
// base\Quillstone\Error Logs
std::wstring crashDumpFolder(std::wstring_view base);
// base\Quillstone\Error Logs\QS Pellux_v1.0.66-YYYYMMDD-HHMMSS-process-thread.dmp
std::wstring crashDumpFilePath(std::wstring_view base, const SYSTEMTIME& time, DWORD processId, DWORD threadId);
// The exception's text (UTF-8) for a dump written to dumpPath.
std::string crashDumpMessage(std::wstring_view dumpPath);
