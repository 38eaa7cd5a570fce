#pragma once
// A stand-in for the engine's LLDist where a test or benchmark runs without
// the engine: distance (nautical miles) and azimuth (degrees from north) on
// a flat earth, close to the great circle for the few miles between a navaid
// and its stations. The programs pass the engine's own; only tests use this.
namespace crv::testing {

void flatEarthDist(float lat1, float lon1, float lat2, float lon2, float* distanceNmi, float* azimuth);

}  // namespace crv::testing
