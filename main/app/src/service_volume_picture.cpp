#include "crv/main/app/service_volume_picture.h"

#include <cmath>
#include <stdexcept>

#include "crv/common/service_volume.h"

namespace crv::main {

namespace {
constexpr double kPi = 3.14159265358979323846;
constexpr double kFeetPerNmi = 6076.115;

class OutlineBuilder {
public:
    void add(double range, double azimuthDeg, double heightFt) {
        if (static_cast<int>(points.size()) >= kMaxOutlinePoints)
            throw std::out_of_range("service-volume outline holds at most 105 points");
        points.push_back({static_cast<float>(range), static_cast<float>(azimuthDeg * kPi / 180.0),
                          static_cast<float>(heightFt / 720.0)});
    }
    // a..b in 5-degree steps, both ends included.
    void run(double range, int fromDeg, int toDeg, double heightFt) {
        const int step = fromDeg <= toDeg ? 5 : -5;
        for (int a = fromDeg;; a += step) {
            add(range, a, heightFt);
            if (a == toDeg) break;
        }
    }
    std::vector<OutlinePoint> points;
};
}  // namespace

std::vector<OutlinePoint> DrawServiceVolume() {
    const auto sv = crv::common::GetServiceVolume(0);
    const double r1 = sv.radius35Nmi, r2 = sv.radius10Nmi, h1 = sv.floorFt, h2 = sv.ceilingFt;
    const double d7 = h2 / kFeetPerNmi / std::tan(7.0 * kPi / 180.0);
    const double d0 = d7 - h1 / kFeetPerNmi / std::tan(2.0 * kPi / 180.0);
    OutlineBuilder b;
    // The floor outline, left to right.
    b.add(0, 0, 0);
    b.add(d0, 35, 0);
    b.add(d7, 35, h1);
    b.run(r1, 35, 10, h1);
    b.run(r2, 10, -10, h1);
    b.run(r1, -10, -35, h1);
    b.add(d7, -35, h1);
    b.add(d0, -35, 0);
    b.add(0, 0, 0);
    // The ceiling with the vertical edges at the sector corners.
    b.add(d7, 35, h2);
    b.add(r1, 35, h2);
    b.add(r1, 35, h1);
    b.run(r1, 35, 10, h2);
    b.add(r1, 10, h1);
    b.add(r1, 10, h2);
    b.add(r2, 10, h2);
    b.add(r2, 10, h1);
    b.run(r2, 10, -10, h2);
    b.add(r2, -10, h1);
    b.add(r2, -10, h2);
    b.add(r1, -10, h2);
    b.add(r1, -10, h1);
    b.run(r1, -10, -35, h2);
    b.add(r1, -35, h1);
    b.add(r1, -35, h2);
    b.add(d7, -35, h2);
    // The inner arcs back to the origin.
    b.add(0, 0, 0);
    b.run(d7, 35, -35, h2);
    b.add(0, 0, 0);
    b.run(d0, 35, -35, 0);
    b.run(d7, -35, 35, h1);
    return std::move(b.points);
}

std::vector<PicturePoint> AnimateServiceVolume(const std::vector<OutlinePoint>& outline, int angleDeg,
                                               int elevationDeg) {
    std::vector<PicturePoint> line;
    line.reserve(outline.size() + 1);
    line.push_back({0, 0});
    const double turn = angleDeg * kPi / 180.0;
    const double e = elevationDeg * kPi / 180.0;
    for (const OutlinePoint& p : outline) {
        const double a = turn + p.azimuthRad;
        line.push_back({p.rangeNmi * std::cos(a), p.height * std::cos(e) - p.rangeNmi * std::sin(a) * std::sin(e)});
    }
    return line;
}

void AnimationState::tick() {
    if (first_) {
        first_ = false;
        angle_ = 0;
        elevation_ = 15;
        step_ = 5;
    }
    ++angle_;
    if (angle_ % 180 == 0) {
        if (elevation_ == 0 || elevation_ == 90) step_ = -step_;
        elevation_ += step_;
        if (angle_ == 360) angle_ = 0;
    }
}

}  // namespace crv::main
