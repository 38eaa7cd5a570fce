#include "crv/common/drawing/emf_writer.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace crv::common {

EmfWriter::EmfWriter(const EmfHeaderInfo& h) {
    begin(emf::kHeader);
    i32(0);
    i32(0);
    i32(h.boundsRight);
    i32(h.boundsBottom);
    i32(0);
    i32(0);
    i32(h.frameRight);
    i32(h.frameBottom);
    u32(emf::kSignature);
    u32(0x00010000);  // version
    u32(0);           // nBytes, set by finish()
    u32(0);           // nRecords, set by finish()
    u32(0);           // nHandles (16 bits) and reserved (16 bits), set by finish()
    u32(static_cast<std::uint32_t>(h.description.size()));
    u32(h.description.empty() ? 0 : static_cast<std::uint32_t>(emf::kHeaderFixedSize));
    u32(0);  // palette entries
    i32(h.devicePxX);
    i32(h.devicePxY);
    i32(h.deviceMmX);
    i32(h.deviceMmY);
    u32(0);  // pixel format size
    u32(0);  // pixel format offset
    u32(0);  // not OpenGL
    i32(h.deviceMmX * 1000);
    i32(h.deviceMmY * 1000);
    for (char16_t c : h.description) {
        bytes_.push_back(static_cast<std::uint8_t>(c & 0xFF));
        bytes_.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    end();
}

void EmfWriter::begin(std::uint32_t type) {
    recordStart_ = bytes_.size();
    u32(type);
    u32(0);  // size, set by end()
}

void EmfWriter::end() {
    while ((bytes_.size() - recordStart_) % 4 != 0) bytes_.push_back(0);
    const std::uint32_t size = static_cast<std::uint32_t>(bytes_.size() - recordStart_);
    for (int i = 0; i < 4; ++i) bytes_[recordStart_ + 4 + i] = static_cast<std::uint8_t>(size >> (8 * i));
    ++records_;
}

void EmfWriter::u32(std::uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes_.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

void EmfWriter::i32(std::int32_t v) { u32(static_cast<std::uint32_t>(v)); }

std::uint32_t EmfWriter::allocateHandle() {
    for (std::size_t i = 1; i < handleUsed_.size(); ++i) {
        if (!handleUsed_[i]) {
            handleUsed_[i] = true;
            return static_cast<std::uint32_t>(i);
        }
    }
    handleUsed_.push_back(true);
    return static_cast<std::uint32_t>(handleUsed_.size() - 1);
}

void EmfWriter::setMapMode(std::uint32_t mode) {
    begin(emf::kSetMapMode);
    u32(mode);
    end();
}

void EmfWriter::setWindowExt(std::int32_t cx, std::int32_t cy) {
    begin(emf::kSetWindowExtEx);
    i32(cx);
    i32(cy);
    end();
}

void EmfWriter::setViewportExt(std::int32_t cx, std::int32_t cy) {
    begin(emf::kSetViewportExtEx);
    i32(cx);
    i32(cy);
    end();
}

void EmfWriter::setBkMode(std::uint32_t mode) {
    begin(emf::kSetBkMode);
    u32(mode);
    end();
}

void EmfWriter::setTextColor(Colour colour) {
    begin(emf::kSetTextColor);
    u32(colour & 0x00FFFFFF);
    end();
}

std::uint32_t EmfWriter::createPen(const Pen& pen) {
    const std::uint32_t h = allocateHandle();
    begin(emf::kCreatePen);
    u32(h);
    u32(0);  // PS_SOLID
    i32(pen.width);
    i32(0);
    u32(pen.colour & 0x00FFFFFF);
    end();
    return h;
}

std::uint32_t EmfWriter::createSolidBrush(Colour colour) {
    const std::uint32_t h = allocateHandle();
    begin(emf::kCreateBrushIndirect);
    u32(h);
    u32(0);  // BS_SOLID
    u32(colour & 0x00FFFFFF);
    u32(0);  // hatch
    end();
    return h;
}

std::uint32_t EmfWriter::createFont(const Font& font, const std::u16string& face) {
    const std::uint32_t h = allocateHandle();
    begin(emf::kExtCreateFontIndirectW);
    u32(h);
    i32(font.height);
    i32(0);  // width: the face's own
    i32(font.escapement);
    i32(font.orientation);
    i32(font.weight);
    bytes_.push_back(font.italic ? 1 : 0);
    bytes_.push_back(0);  // underline
    bytes_.push_back(0);  // strike-out
    bytes_.push_back(font.charSet);
    bytes_.push_back(0);  // output precision
    bytes_.push_back(0);  // clip precision
    bytes_.push_back(0);  // quality
    bytes_.push_back(0);  // pitch and family
    // 32 UTF-16 units, NUL-terminated: a longer face is cut to 31.
    for (std::size_t i = 0; i < 32; ++i) {
        const char16_t c = i < 31 && i < face.size() ? face[i] : u'\0';
        bytes_.push_back(static_cast<std::uint8_t>(c & 0xFF));
        bytes_.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    end();
    return h;
}

void EmfWriter::selectObject(std::uint32_t handle) {
    begin(emf::kSelectObject);
    u32(handle);
    end();
}

void EmfWriter::deleteObject(std::uint32_t handle) {
    begin(emf::kDeleteObject);
    u32(handle);
    end();
    if (handle < handleUsed_.size()) handleUsed_[handle] = false;
}

void EmfWriter::moveTo(PagePoint p) {
    begin(emf::kMoveToEx);
    i32(p.x);
    i32(p.y);
    end();
}

void EmfWriter::lineTo(PagePoint p) {
    begin(emf::kLineTo);
    i32(p.x);
    i32(p.y);
    end();
}

void EmfWriter::polygon(const std::vector<PagePoint>& points) {
    begin(emf::kPolygon);
    std::int32_t l = points.empty() ? 0 : points[0].x, r = l;
    std::int32_t t = points.empty() ? 0 : points[0].y, b = t;
    for (const PagePoint& p : points) {
        l = std::min(l, p.x);
        r = std::max(r, p.x);
        t = std::min(t, p.y);
        b = std::max(b, p.y);
    }
    i32(l);
    i32(t);
    i32(r);
    i32(b);
    u32(static_cast<std::uint32_t>(points.size()));
    for (const PagePoint& p : points) {
        i32(p.x);
        i32(p.y);
    }
    end();
}

void EmfWriter::extTextOut(PagePoint origin, const std::u16string& text, const std::vector<std::int32_t>& dx,
                           float exScale, float eyScale) {
    if (dx.size() != text.size()) throw std::logic_error("extTextOut: one advance per character");
    begin(emf::kExtTextOutW);
    i32(0);
    i32(0);
    i32(-1);
    i32(-1);  // bounds: not computed
    u32(emf::kGraphicsModeCompatible);
    std::uint32_t bits = 0;
    std::memcpy(&bits, &exScale, 4);
    u32(bits);
    std::memcpy(&bits, &eyScale, 4);
    u32(bits);
    const std::uint32_t stringOffset = 76;
    const std::uint32_t stringBytes = static_cast<std::uint32_t>((text.size() * 2 + 3) / 4 * 4);
    i32(origin.x);
    i32(origin.y);
    u32(static_cast<std::uint32_t>(text.size()));
    u32(stringOffset);
    u32(0);  // options
    i32(0);
    i32(0);
    i32(-1);
    i32(-1);  // no clipping rectangle
    u32(stringOffset + stringBytes);
    for (char16_t c : text) {
        bytes_.push_back(static_cast<std::uint8_t>(c & 0xFF));
        bytes_.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    while ((bytes_.size() - recordStart_) % 4 != 0) bytes_.push_back(0);
    for (std::int32_t d : dx) i32(d);
    end();
}

std::vector<std::uint8_t> EmfWriter::finish() {
    begin(emf::kEof);
    u32(0);   // palette entries
    u32(16);  // palette offset
    u32(20);  // size of this record, repeated at its end
    end();
    auto put = [&](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) bytes_[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
    };
    put(48, static_cast<std::uint32_t>(bytes_.size()));
    put(52, records_);
    put(56, static_cast<std::uint32_t>(handleUsed_.size()) & 0xFFFF);
    return std::move(bytes_);
}

}  // namespace crv::common
