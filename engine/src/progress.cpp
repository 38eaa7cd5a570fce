#include "progress.h"

#include <cmath>

#include "failure.h"

namespace crv::engine {

bool Progress::report(double done, double expected) {
    if (callback_ == nullptr) return false;
    double percent = expected > 0 ? done * 100.0 / expected : 100.0;
    if (!std::isfinite(percent)) percent = 0;
    if (percent < 0) percent = 0;
    if (percent > 100) percent = 100;
    if (spanFrom_ != 0 || spanTo_ != 100) percent = spanFrom_ + percent * (spanTo_ - spanFrom_) / 100;
    cancelWord_ = 0;
    ++calls_;
    callback_(static_cast<std::int32_t>(std::lround(percent)), &cancelWord_);
    if (cancelWord_ & 1) cancelled_ = true;
    return cancelled_;
}

void Progress::checkpoint(double done, double expected) {
    if (report(done, expected)) throw CancelRequested{};
}

}  // namespace crv::engine
