#pragma once
// The main window's picture: the wire-frame outline of an ILS localizer
// service volume, turning one degree every tick about its vertical axis while
// the view elevation climbs to 90 degrees and back in 5-degree steps every
// half turn.
#include <vector>

namespace crv::main {

struct OutlinePoint {
    float rangeNmi = 0;
    float azimuthRad = 0;
    float height = 0;  // drawing units: feet / 720
};

// At most 105 points; the fixed construction uses 101.
inline constexpr int kMaxOutlinePoints = 105;

// The outline of service-volume type 0, built once (DrawServiceVolume).
std::vector<OutlinePoint> DrawServiceVolume();

struct PicturePoint {
    double x = 0;
    double y = 0;
};

// One frame (AnimateServiceVolume): the polyline from (0, 0) through every
// point, in drawing units (x from -22.5 to 22.5, y upwards).
std::vector<PicturePoint> AnimateServiceVolume(const std::vector<OutlinePoint>& outline, int angleDeg,
                                               int elevationDeg);

// The state kept between timer ticks.
class AnimationState {
public:
    // Advances one tick and returns nothing; read angle() and elevation().
    void tick();
    int angle() const { return angle_; }
    int elevation() const { return elevation_; }

private:
    bool first_ = true;
    int angle_ = 0;
    int elevation_ = 15;
    int step_ = 5;
};

}  // namespace crv::main
