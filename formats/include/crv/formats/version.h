#pragma once
// The version text of the current layout: line 1 of every case data file and
// search plot file, and record 1 of every plot and receiver-point file.
namespace crv::formats {

inline constexpr const char* kVersionText = "CRV Version 5.0.6";

}  // namespace crv::formats
