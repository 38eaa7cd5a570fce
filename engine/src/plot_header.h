#pragma once
// Opening a receiver-point or interference plot file: the 18 header records
// come from the case as read, the file name and titles from the caller.
#include <string>

#include "crv/formats/plot_file.h"
#include "state.h"

namespace crv::engine {

crv::formats::PlotHeader plotHeaderFor(const EngineState& state, const std::string& fileName,
                                       const std::string& title1, const std::string& title2);

// Creates (replacing) runFolder + fileName and writes the header. Fails under
// the routine's name when the file cannot be created.
void PlotHdr(const EngineState& state, crv::formats::RecordWriter& writer, const std::string& fileName,
             const std::string& title1, const std::string& title2, std::string_view routine);

}  // namespace crv::engine
