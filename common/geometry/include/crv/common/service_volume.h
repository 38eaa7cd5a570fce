#pragma once
// The size and shape of each facility type's service volume, as the plots,
// the case editor's diagrams and the search area use them.
//
// Service-volume types: 0 ILS localizer standard, 1 ILS localizer expanded,
// 2 and 3 the back-course forms of 0 and 1, 4 TLS, 5 VOR terminal, 6 VOR low
// altitude, 7 VOR high altitude, 8 VHF COM. Distances in nmi, altitudes in ft.

namespace crv::common {

struct ServiceVolumeSize {
    // Localizer and TLS: radius of the sector within +-35 degrees of the course
    // and within +-10 degrees. VOR types: the service radius twice.
    double radius35Nmi = 0.0;
    double radius10Nmi = 0.0;
    double floorFt = 0.0;
    double ceilingFt = 0.0;
};

// Type 8 and every type outside 0-7 have no fixed volume: all zero.
ServiceVolumeSize GetServiceVolume(int svType);

// Floor of a VOR service volume at a distance from the facility. The pieces
// are the published ones and are not joined end to end; each is used only on
// its own interval. Types other than 5, 6 and 7 have a floor of 0.
double MinServiceAltitude(int svType, double distanceNmi);

// How far out a receiver at the altitude is inside a VOR volume: -1 below 0 ft
// or above the ceiling, the maximum range at or above the floor, else the
// first of 250 equal steps of the maximum range where the floor reaches the
// altitude (never beyond the maximum). A maximum range that is not a positive
// finite number gives -1: there is no volume to be inside of.
double ServiceVolumeRange(double altitudeFt, int svType, double maxRangeNmi, double floorFt,
                          double ceilingFt);

}  // namespace crv::common
