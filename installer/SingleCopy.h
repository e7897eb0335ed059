// One installer at a time: two copies writing the same files would fail each other's writes. The running
// copy holds a named mutex of the session; a copy started next brings the running one's window forward
// and ends, before it asks for elevation where it can.
#pragma once

#include <functional>

namespace installer {

struct SingleCopy {
    // Claims the installer for this process for its lifetime; false when another copy holds it.
    std::function<bool()> claim;
    // Whether another copy holds it (asked by the launching copy, before the elevation request).
    std::function<bool()> held_elsewhere;
    // Brings the running copy's window to the front, waiting a little for one that is still opening.
    std::function<void()> bring_forward;
};

// The session's mutex and the installer window's title.
SingleCopy session_single_copy();

}  // namespace installer
