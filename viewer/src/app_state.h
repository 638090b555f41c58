// What the whole program shares: how it was started, the page background of VYN/QD views and
// whether page text is shown Simplified or Traditional.
#pragma once

#include <cstdint>
#include <string>

class QPrinter;

namespace viewer {

/// The program's title, the caption of its message boxes.
inline constexpr char kProgramTitle[] = "Orvelle";

struct AppState {
    /// Started by the "open" or "print" command line: VYN/QD views open a little larger.
    bool startedByCommand = false;
    /// The page shown first when a document opens (from 1).
    int startPage = 1;
    /// The fill of the page area of VYN/QD views, 0x00BBGGRR.
    uint32_t backgroundColour = 0xFFFFFF;
    /// Page text in Simplified Chinese (code page 936) rather than Traditional (950).
    bool simplifiedDisplay = true;
    /// The text the find dialogs last searched for, in the engine's code page; every page
    /// a VYN/QD view loads marks it.
    std::string searchText;
};

AppState& appState();

/// The printer every print command uses, so that the print setup holds for all of them.
QPrinter& appPrinter();

}  // namespace viewer
