#include "fresnel.h"

#include <cmath>
#include <complex>
#include <limits>

namespace crv::engine {

namespace {
constexpr double kPi = 3.14159265358979323846;
constexpr double kEps = 1e-16;
constexpr int kMaxIterations = 400;
// Below this the power series converges without cancellation trouble; above it
// the continued fraction of the complementary error function converges fast.
constexpr double kSeriesLimit = 1.5;
}  // namespace

FresnelCS fresnelIntegrals(double x) {
    const double ax = std::fabs(x);
    double c = 0, s = 0;
    if (ax < std::sqrt(std::numeric_limits<double>::min())) {
        c = ax;
        s = 0;
    } else if (ax < kSeriesLimit) {
        // C = sum (-1)^n (pi/2)^(2n) x^(4n+1) / ((2n)! (4n+1)),
        // S = sum (-1)^n (pi/2)^(2n+1) x^(4n+3) / ((2n+1)! (4n+3)).
        const double fact = kPi / 2.0 * ax * ax;
        double term = ax;
        double sumC = ax, sumS = 0;
        double sign = 1;
        bool odd = true;
        int n = 3;
        for (int k = 1; k <= kMaxIterations; ++k) {
            term *= fact / k;
            if (odd) {
                sumS += sign * term / n;
                sign = -sign;
            } else {
                sumC += sign * term / n;
            }
            if (term / n < kEps * std::fmax(std::fabs(sumC), 1e-300)) break;
            odd = !odd;
            n += 2;
        }
        c = sumC;
        s = sumS;
    } else {
        // The continued fraction of the complementary error function
        // (modified Lentz); then C + iS = (1+i)/2 (1 - e^{i pi x^2 / 2} h).
        const double pix2 = kPi * ax * ax;
        std::complex<double> b(1.0, -pix2);
        std::complex<double> cc(1.0 / std::numeric_limits<double>::min(), 0.0);
        std::complex<double> d = 1.0 / b;
        std::complex<double> h = d;
        int n = -1;
        for (int k = 2; k <= kMaxIterations; ++k) {
            n += 2;
            const double a = -static_cast<double>(n) * (n + 1);
            b += 4.0;
            d = 1.0 / (a * d + b);
            cc = b + a / cc;
            const std::complex<double> del = cc * d;
            h *= del;
            if (std::fabs(del.real() - 1.0) + std::fabs(del.imag()) < kEps) break;
        }
        h *= std::complex<double>(ax, -ax);
        const std::complex<double> cs =
            std::complex<double>(0.5, 0.5) *
            (1.0 - std::complex<double>(std::cos(0.5 * pix2), std::sin(0.5 * pix2)) * h);
        c = cs.real();
        s = cs.imag();
    }
    if (x < 0) {
        c = -c;
        s = -s;
    }
    return {c, s};
}

}  // namespace crv::engine
