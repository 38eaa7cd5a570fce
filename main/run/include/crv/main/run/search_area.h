#pragma once
// The area an RF-source search covers around a navaid and whether the
// proponent lies inside it; the array type of a navaid's antenna description.
// Service-volume types as in crv/common/service_volume.h.
#include <cstdint>
#include <string>

#include "crv/binding/engine_api.h"

namespace crv::main::run {

using crv::binding::EngineApi;
using crv::binding::SearchParams;

// Builds the search record (option, centre, foci and radius; the frequency is
// left as the caller set it) for the navaid record's position and course and
// tells whether the proponent record's position lies inside. An empty
// proponent record is always inside. Positions go through DistLL and LLDist
// of the engine, so a missing engine throws EngineError.
void SetSearchArea(EngineApi& engine, std::int16_t svType, float radiusNmi, const std::string& proponentRecord,
                   const std::string& navaidRecord, bool& inside, SearchParams& record);

// The same test for a proponent given by its position, without a record.
bool CheckNavaidDistance(EngineApi& engine, std::int16_t svType, float radiusNmi, float proponentLatitude,
                         float proponentLongitude, const std::string& navaidRecord);

// The widened reach (nmi) of a facility type around its position: the
// farthest a proponent inside the widened area can be from the facility.
// The navaid search uses the largest of these as its radius.
double widenedReachNmi(std::int16_t svType, double svRadiusNmi, double radiusNmi);

// The largest service-volume radius (nmi) of the COM database's records
// (columns 134-137; 50 where the record gives none above 0). The COM search
// must reach that radius + 30 nmi, or a large facility whose widened area
// holds the proponent is never found. 50 when the file cannot be read (the
// search itself then reports the file).
double largestComServiceRadiusNmi(const std::string& comDatabase);

// The array type of the navaid models for a description (columns 102-136 of
// a navaid search file line); 0 when no rule applies.
std::int16_t GetAntennaType(const std::string& description);

}  // namespace crv::main::run
