#pragma once
// Turns a finished plot metafile into the bytes of a Windows Enhanced
// Metafile: the form the plot window saves (".emf"), puts on the clipboard and
// other programs read. Text is placed with the given metrics, measured on the
// fixed 96 dpi reference device so the same plot always gives the same file.
#include "crv/common/drawing/plot.h"
#include "crv/common/drawing/text_layout.h"

#include <cstdint>
#include <vector>

namespace crv::common {

std::vector<std::uint8_t> encodeEnhancedMetafile(const EnhancedMetafile& metafile, const TextMetrics& metrics);

}  // namespace crv::common
