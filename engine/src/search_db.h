#pragma once
// The facility database search behind the SearchDB export: argument checks,
// the search window, the walk over the one-degree cells it covers and the test
// of each record against the circle or ellipse.
#include <cstdint>

#include "crv50.h"
#include "search_lines.h"

namespace crv::engine {

// The search parameter record, widened to double once on entry.
struct SearchParameters {
    std::int32_t option = 0;
    double centreLatitude = 0, centreLongitude = 0;
    double focus1Latitude = 0, focus1Longitude = 0;
    double focus2Latitude = 0, focus2Longitude = 0;
    double radiusNmi = 0;
    double frequencyMHz = 0;
};

struct SearchWindow {
    double latitudeMin = 0, latitudeMax = 0;
    double longitudeMin = 0, longitudeMax = 0;
};

// Fails under "SearchDB       " with the first check's message.
void checkSearchArguments(std::int16_t database, const CrvSearchParams* params);

SearchWindow LatLonWindow(const SearchParameters& p);

enum : int { kInside = 0, kOutsideWindow = 1, kOutsideRadius = -1 };
// Whether a position is inside the search area; when it is, `hit` holds the
// distance and bearing the result lines report.
int InArea(const SearchParameters& p, const SearchWindow& window, double latitude, double longitude, HitGeometry& hit);

}  // namespace crv::engine
