#pragma once
// The work behind the exports, called inside runExport (see exports.cpp). Each
// throws EngineFailure or CancelRequested; counts are written as they grow so
// the caller holds them whatever the outcome.
#include <cstdint>

#include "crv50.h"
#include "progress.h"

namespace crv::engine {

void runGrid(const char* runFolder, Progress& progress, std::int32_t& points);
void runEvaluate(const char* runFolder, Progress& progress, std::int16_t& cases);
void runB1_2Sig(const char* runFolder, Progress& progress, std::int16_t& cases, std::int32_t& combinations);
void runB1_3Sig(const char* runFolder, Progress& progress, std::int16_t& cases, std::int32_t& combinations);
void runGrndCOM(const char* runFolder, Progress& progress, std::int16_t& cases);
void runSearchDB(std::int16_t database, const CrvSearchParams* params, Progress& progress, std::int16_t& count);

}  // namespace crv::engine
