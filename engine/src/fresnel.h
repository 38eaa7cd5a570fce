#pragma once
// Fresnel integrals C(x) = integral 0..x of cos(pi t^2 / 2) dt and S(x) with
// sin, for the edge-diffraction transition function of the VOR antenna model.
namespace crv::engine {

struct FresnelCS {
    double c;
    double s;
};

// Accurate to about 1e-14 for every finite x; odd in x.
FresnelCS fresnelIntegrals(double x);

}  // namespace crv::engine
