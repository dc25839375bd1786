#pragma once
// "測定": the measuring mode. A still picture of the monitor under the cursor, taken without our
// windows, is shown full-screen and measured on; leaving it puts everything back as it was.
#include <windows.h>

#include <functional>
#include <vector>

#include "core/measurement.h"
#include "measure/measure_window_win.h"
#include "state/program_win.h"

namespace plumbo {

// The target's controls in screen pixels, the target's client area first, with no parent: its
// child windows and accessible elements as the re-drawing's reader walks them, handed over by the
// shell.
using ControlWalk = std::function<std::vector<ControlBox>(HWND target)>;

// How long the windows our rulers and viewer uncovered are given to repaint before the picture.
inline constexpr UINT kMeasureSettleMs = 200;

class MeasureMode {
public:
    MeasureMode(Program& program, ControlWalk walk) : program_(program), walk_(std::move(walk)) {}

    // Hides the rulers and the viewer and, once the screen has settled, opens the mode on the
    // monitor under the cursor. Nothing while the mode is open or about to be.
    void Start();
    bool Open() const { return window_.hwnd() != nullptr; }

private:
    void TakePicture();
    void PutBack();

    Program& program_;
    ControlWalk walk_;
    MeasureWindow window_;
    bool starting_ = false;
    bool rulersHidden_ = false;
    bool viewerHidden_ = false;
};

}  // namespace plumbo
