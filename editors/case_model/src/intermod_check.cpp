#include "crv/editors/intermod_check.h"

#include <stdexcept>

namespace crv::editors {

double intermodHalfWidth(int option) {
    switch (option) {
    case 1: case 3: return 0.21;
    case 2: case 4: case 6: return 0.01;
    case 5: return 0.16;
    default: return 0.0;
    }
}

namespace {

struct Window {
    float lo;
    float hi;
    // Products are rounded to single precision before the comparison; both
    // bounds count.
    bool hit(double product) const {
        const float p = static_cast<float>(product);
        return lo <= p && p <= hi;
    }
};

bool twoSignalHit(const Window& w, double fp, double twoFp, double fi, bool fifth) {
    if (w.hit(twoFp - fi) || w.hit(2.0 * fi - fp)) return true;
    return fifth && (w.hit(3.0 * fi - 2.0 * fp) || w.hit(3.0 * fp - 2.0 * fi));
}

bool threeSignalHit(const Window& w, double fp, double twoFp, double fi, double fj, bool fifth) {
    if (w.hit(fp + fi - fj) || w.hit(fi + fj - fp) || w.hit(fp + fj - fi)) return true;
    if (!fifth) return false;
    return w.hit(twoFp + fi - 2.0 * fj) || w.hit(twoFp + fj - 2.0 * fi) || w.hit(2.0 * fi + fj - twoFp) ||
           w.hit(2.0 * fi + fp - 2.0 * fj) || w.hit(2.0 * fj + fp - 2.0 * fi) || w.hit(2.0 * fj + fi - twoFp) ||
           w.hit(3.0 * fp - fi - fj) || w.hit(3.0 * fi - fj - fp) || w.hit(3.0 * fj - fp - fi);
}

}  // namespace

IntermodResult CheckIntermods(const std::vector<std::int32_t>& flags, const std::vector<float>& frequencies,
                              float navaidMHz, int option) {
    if (frequencies.size() != flags.size()) throw std::invalid_argument("one frequency per row is needed");
    IntermodResult result;
    result.flags = flags;
    std::vector<std::int32_t>& f = result.flags;
    const std::size_t n = f.size();
    for (auto& fl : f) fl = (fl & RowProponent) ? (fl | RowTakesPart) : (fl & ~RowTakesPart);

    const double half = intermodHalfWidth(option);
    if (half > 0.0) {
        const Window w{static_cast<float>(static_cast<double>(navaidMHz) - half),
                       static_cast<float>(static_cast<double>(navaidMHz) + half)};
        const bool fifth = option >= 5;
        for (std::size_t p = 0; p < n; ++p) {
            if (!(f[p] & RowProponent)) continue;
            const double fp = frequencies[p];
            const double twoFp = static_cast<float>(frequencies[p] + frequencies[p]);
            for (std::size_t i = 0; i < n; ++i) {
                if (i == p || (f[i] & RowIgnored)) continue;
                const double fi = frequencies[i];
                if (!(f[i] & RowTakesPart) && twoSignalHit(w, fp, twoFp, fi, fifth)) f[i] |= RowTakesPart;
                for (std::size_t j = i + 1; j < n; ++j) {
                    if (j == p || (f[j] & RowIgnored)) continue;
                    if ((f[i] & RowTakesPart) && (f[j] & RowTakesPart)) continue;
                    if (threeSignalHit(w, fp, twoFp, fi, frequencies[j], fifth)) {
                        f[i] |= RowTakesPart;
                        f[j] |= RowTakesPart;
                    }
                }
            }
        }
    }
    for (const auto fl : f)
        if ((fl & RowOutOfRange) && (fl & RowTakesPart)) result.ok = false;
    return result;
}

}  // namespace crv::editors
