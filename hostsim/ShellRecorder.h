// Stands between the effect module and the shell: every document or address the effect asks the shell to
// open (ShellExecuteW, the one shell call the effect and its kit make) is recorded and nothing is opened, so
// no run ever starts a program or reaches a web site. The module's import table entry is pointed here.
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include <windows.h>

namespace hostsim {

struct shell_request {
    std::string verb;        // empty for the default verb
    std::string target;      // the file or address, UTF-8
    std::string parameters;
    int show = 0;
};

class ShellRecorder {
public:
    ShellRecorder() = default;
    ShellRecorder(const ShellRecorder&) = delete;
    ShellRecorder& operator=(const ShellRecorder&) = delete;

    // Redirects the module's ShellExecuteW import here; throws std::runtime_error when its import table
    // cannot be changed. A module that does not import it needs nothing.
    void intercept(HMODULE module);

    std::vector<shell_request> requests() const;
    void clear();
    // Keeps the request and, with printing on, writes the address to the standard output.
    void record(shell_request request);

    // For every recorder of the process: pellux-host turns it on so that a person who clicks a link sees
    // where it would have gone; tests read the requests instead.
    static void setPrinting(bool on);

private:
    mutable std::mutex mutex_;
    std::vector<shell_request> requests_;
};

}  // namespace hostsim
