#pragma once
// The progress and cancel protocol of the long exports. The callback runs on
// the caller's thread; the engine clears the cancel word before every call so a
// callback that only ever sets it cannot leave a stale request behind.
#include <cstdint>

#include "crv50.h"

namespace crv::engine {

class Progress {
public:
    explicit Progress(CrvProgressCallback callback) : callback_(callback) {}

    // Reports done/expected as the nearest whole percent; returns true when the
    // user asked to cancel. A null callback never cancels.
    bool report(double done, double expected);
    // As report(), but throws CancelRequested on a cancel.
    void checkpoint(double done, double expected);
    // Later reports move the bar within [from, to] percent instead of over
    // the whole of it: a call whose work comes in phases gives each its part.
    void setSpan(double from, double to) {
        spanFrom_ = from;
        spanTo_ = to;
    }

    bool cancelled() const { return cancelled_; }
    int calls() const { return calls_; }

private:
    CrvProgressCallback callback_;
    std::int16_t cancelWord_ = 0;
    bool cancelled_ = false;
    double spanFrom_ = 0, spanTo_ = 100;
    int calls_ = 0;
};

}  // namespace crv::engine
