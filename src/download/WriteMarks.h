#pragma once

namespace z5 {

// What the marks of a write sequence mean to whoever follows the write (the
// main window's progress bar, its enabled state and the designer, the logs).
struct WriteMarks {
    // The closing opens: the progress bar at 1, shown.
    static constexpr int kClosingOpened = 100;
    // The closing's ticks 1..3: the bar's value is the mark itself.
    static constexpr int kFirstClosingTick = 1;
    static constexpr int kLastClosingTick = 3;
    // A data block went: the main window is disabled until the closing.
    static constexpr int kWindowHeld = 200;
    // The closing has shut the port: the window is given back, the bar hidden,
    // the designer's markers and background shown again.
    static constexpr int kClosed = 300;
    // The screen write hides the designer's markers and background while it builds.
    static constexpr int kDesignerHidden = 400;

    static bool isClosingTick(int mark) { return mark >= kFirstClosingTick && mark <= kLastClosingTick; }
};

} // namespace z5
