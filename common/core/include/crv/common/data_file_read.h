#pragma once
// Reading the programs' own text files whole, within the bound of their
// format: the formats layer's readers (crv/formats/file_lines.h) and bounds,
// by the names the programs use.
#include "crv/formats/case_file.h"
#include "crv/formats/file_lines.h"
#include "crv/formats/plot_file.h"
#include "crv/formats/report_pages.h"
#include "crv/formats/site_files.h"

namespace crv::common {

using crv::formats::kCaseFileMaxBytes;
using crv::formats::kPlotFileMaxBytes;
using crv::formats::kPointsFileMaxBytes;
using crv::formats::kReportMaxBytes;
using crv::formats::kSiteFileMaxBytes;
using crv::formats::readFileLines;
using crv::formats::splitLines;

}  // namespace crv::common
