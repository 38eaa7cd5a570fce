// Placeholder until the report heading is built: the heading is one line.
#include "report_heading.h"

namespace crv::engine {

void WriteHeader(const EngineState&, ReportFile& report) { report.line(" Corvane, Version 5.0"); }
void WritePatterns(const EngineState&, ReportFile&) {}

}  // namespace crv::engine
