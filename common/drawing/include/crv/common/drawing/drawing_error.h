#pragma once
// A drawing that cannot be done (a window of no size, a coordinate that does
// not fit the page's integer range, a label height that is not a number) is
// reported to whoever started the plot, never turned into garbage on the page.
// The plot builders let it travel up to the window's handler, which shows it;
// tryDrawing turns it into an error value at that boundary.
#include <crv/platform/expected.h>

#include <stdexcept>
#include <string>

namespace crv::common {

class DrawingError : public std::runtime_error {
public:
    explicit DrawingError(const std::string& message) : std::runtime_error(message) {}
};

template <class Fn>
platform::Expected<void> tryDrawing(Fn&& fn) {
    try {
        fn();
        return {};
    } catch (const DrawingError& e) {
        return platform::makeError(e.what());
    }
}

}  // namespace crv::common
