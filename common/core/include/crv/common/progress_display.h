#pragma once
// The one progress window of the programs, as the logic sees it. A long
// operation (an engine call, writing search files, drawing many plots) opens
// it with a message, moves its bar, reads Canceled, shows a closing result
// line for a moment and removes it. The Qt layer implements it with a window;
// tests use a recording fake. Canceled survives the closing of the window:
// the operation that owns the dialog still reads true after Cancel.
#include <cstdint>
#include <string>

namespace crv::common {

class ProgressDisplay {
public:
    virtual ~ProgressDisplay() = default;
    // Clears Canceled, shows the message and a bar at 0.
    virtual void Initialize(const std::string& message) = 0;
    // Bar maximum: the larger of 0 and the value.
    virtual void MaxValue(std::int32_t value) = 0;
    // Bar position clamped to 0..maximum; lets the user interface react once
    // (repaint, a click on Cancel).
    virtual void Value(std::int32_t value) = 0;
    virtual bool Canceled() const = 0;
    // Shows the result line (the bar hidden, Cancel disabled) and pauses
    // 1.5 s on a monotonic clock.
    virtual void FinalMsg(const std::string& message) = 0;
    // Restores the mouse pointer and closes the window.
    virtual void Remove() = 0;
};

}  // namespace crv::common
