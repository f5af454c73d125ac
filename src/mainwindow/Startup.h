#pragma once
// The program's start: the data file paths, the databases, the data language,
// the splash box, then the main window.
class frmMain;

namespace Startup {

struct Options {
    bool splash = true;   // show the splash box (and wait for it) before the main window
};

// Runs the start in order and returns the main window, shown (null only when
// the main window itself could not be made; that has been reported).
frmMain *Main(const Options &options = {});

// Starts reading the system's font configuration on a thread of its own, so
// that it is ready by the time the first window lays out its texts; the
// program calls it first thing, before the application object, and Main
// waits for it before building a window. Nothing else runs on that thread.
void ReadFontsAhead();

} // namespace Startup
