#pragma once
// Writes Windows Enhanced Metafile records: the few a plot needs (header, map
// mode and extents, pens, brushes, fonts, move/line, polygon, text, text
// colour, object selection and deletion, end of file). Records are built in
// memory; finish() completes the header's size, record and handle counts.
// Layouts follow the published metafile format: little-endian, every record
// a multiple of 4 bytes, object handles counted from 1 (0 is the file's own).
#include "crv/common/drawing/recording.h"

#include <cstdint>
#include <string>
#include <vector>

namespace crv::common {

namespace emf {
inline constexpr std::uint32_t kHeader = 1;
inline constexpr std::uint32_t kPolygon = 3;
inline constexpr std::uint32_t kSetWindowExtEx = 9;
inline constexpr std::uint32_t kSetViewportExtEx = 11;
inline constexpr std::uint32_t kEof = 14;
inline constexpr std::uint32_t kSetMapMode = 17;
inline constexpr std::uint32_t kSetBkMode = 18;
inline constexpr std::uint32_t kSetTextColor = 24;
inline constexpr std::uint32_t kMoveToEx = 27;
inline constexpr std::uint32_t kSelectObject = 37;
inline constexpr std::uint32_t kCreatePen = 38;
inline constexpr std::uint32_t kCreateBrushIndirect = 39;
inline constexpr std::uint32_t kDeleteObject = 40;
inline constexpr std::uint32_t kLineTo = 54;
inline constexpr std::uint32_t kExtCreateFontIndirectW = 82;
inline constexpr std::uint32_t kExtTextOutW = 84;

inline constexpr std::uint32_t kSignature = 0x464D4520;  // " EMF"
inline constexpr std::uint32_t kMapModeAnisotropic = 8;
inline constexpr std::uint32_t kBkModeTransparent = 1;
inline constexpr std::uint32_t kGraphicsModeCompatible = 1;

// Stock objects are selected by these values, never created or deleted.
inline constexpr std::uint32_t kStockWhiteBrush = 0x80000000;
inline constexpr std::uint32_t kStockBlackPen = 0x80000007;
inline constexpr std::uint32_t kStockNullPen = 0x80000008;
inline constexpr std::uint32_t kStockSystemFont = 0x8000000D;

inline constexpr std::size_t kHeaderFixedSize = 108;
}  // namespace emf

struct EmfHeaderInfo {
    // Inclusive bounds in reference-device pixels, frame in 0.01 mm.
    std::int32_t boundsRight = 0;
    std::int32_t boundsBottom = 0;
    std::int32_t frameRight = 0;
    std::int32_t frameBottom = 0;
    std::int32_t devicePxX = 0;
    std::int32_t devicePxY = 0;
    std::int32_t deviceMmX = 0;
    std::int32_t deviceMmY = 0;
    std::u16string description;  // with its NULs, including the final pair
};

class EmfWriter {
public:
    explicit EmfWriter(const EmfHeaderInfo& header);

    void setMapMode(std::uint32_t mode);
    void setWindowExt(std::int32_t cx, std::int32_t cy);
    void setViewportExt(std::int32_t cx, std::int32_t cy);
    void setBkMode(std::uint32_t mode);
    void setTextColor(Colour colour);

    // Each returns the handle of the new object.
    std::uint32_t createPen(const Pen& pen);
    std::uint32_t createSolidBrush(Colour colour);
    std::uint32_t createFont(const Font& font, const std::u16string& face);
    void selectObject(std::uint32_t handle);
    void deleteObject(std::uint32_t handle);

    void moveTo(PagePoint p);
    void lineTo(PagePoint p);
    void polygon(const std::vector<PagePoint>& points);
    // Text with its top-left corner at the point; dx holds each character's
    // advance in logical units.
    void extTextOut(PagePoint origin, const std::u16string& text, const std::vector<std::int32_t>& dx,
                    float exScale, float eyScale);

    // Appends the end-of-file record and returns the whole file.
    std::vector<std::uint8_t> finish();

private:
    void begin(std::uint32_t type);
    void u32(std::uint32_t v);
    void i32(std::int32_t v);
    void end();
    std::uint32_t allocateHandle();

    std::vector<std::uint8_t> bytes_;
    std::size_t recordStart_ = 0;
    std::uint32_t records_ = 0;
    std::vector<bool> handleUsed_{true};  // slot 0 is the metafile itself
};

}  // namespace crv::common
