// Tells whether a window the simulated host's watcher saw is the effect's error popup with a given text.
// The popup draws its text, so the text is checked by looks: the plug-in library's own report with that
// text is made here over the same main window, and the two pictures must match; and since that report
// draws with the same code, the picture must also match the one kept for the text in tests/reference
// (error_popup_*.png, written anew with PELLUX_REGENERATE_REFERENCES=1 and looked at before committing).
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "SimulatedHost.h"

// A kit window titled "QS Pellux Exception", owned by the host's main window (by none when the host names
// none), showing `text`. Runs on the
// thread that owns the host's main window; the reference popup leaves no record in the watcher.
testing::AssertionResult isErrorPopupShowing(hostsim::SimulatedHost& host, const hostsim::seen_window& seen,
                                            const std::string& text);
