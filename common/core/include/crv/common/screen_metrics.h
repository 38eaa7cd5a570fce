#pragma once
// Screen metrics in twips (unless noted), as every window's placement reads
// them. 32-bit: a desktop of several monitors is wider than 32767 twips.
#include <cstdint>

namespace crv::common {

struct ScreenMetrics {
    std::int32_t TwipsPerPixelX = 15;
    std::int32_t TwipsPerPixelY = 15;
    std::int32_t DlgFrameWidth = 0;
    std::int32_t SizeFrameWidth = 0;
    std::int32_t CaptionHeight = 0;
    std::int32_t MenuHeight = 0;
    std::int32_t ScrollBarWidth = 0;
    std::int32_t WorkAreaHeight = 0;
    std::int32_t WorkAreaWidth = 0;
    std::int32_t WorkAreaTop = 0;
    std::int32_t WorkAreaLeft = 0;
};

}  // namespace crv::common
