// Search maps: where the facilities of a navaid search lie around the
// proponent, and where the RF sources of an RF-source search (or a run's case
// copy) lie around the facility. Map coordinates are nmi east (x) and north
// (y) of the map centre.
#include "both_contexts.h"
#include "crv/common/data_file_read.h"
#include "crv/common/drawing/primitives.h"
#include "crv/common/drawing/service_volume_shapes.h"
#include "crv/common/lat_lon.h"
#include "crv/common/service_volume.h"
#include "crv/common/text_utils.h"
#include "crv/viewers/plot_builders.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>
#include <tuple>

namespace crv::viewers {

using namespace crv::common;

namespace {

constexpr Colour kRed = 0x0000FF;
constexpr double kSymbolIn = 0.16;

// A search plot file is a case-sized text: a regular file of bounded size,
// or an error naming the file.
platform::Expected<std::vector<std::string>> readLines(const std::string& path) {
    return readFileLines(path, kCaseFileMaxBytes);
}

std::string from(const std::string& line, std::size_t col) { return line.size() >= col ? line.substr(col - 1) : ""; }
std::string cols(const std::string& line, std::size_t a, std::size_t b) {
    return line.size() >= a ? line.substr(a - 1, b - a + 1) : "";
}
std::string trim(std::string s) {
    const auto a = s.find_first_not_of(' ');
    if (a == std::string::npos) return "";
    const auto b = s.find_last_not_of(' ');
    return s.substr(a, b - a + 1);
}
std::optional<double> num(const std::vector<std::string>& f, std::size_t i) {  // field i, 1-based
    if (i > f.size()) return std::nullopt;
    char* end = nullptr;
    const double v = std::strtod(f[i - 1].c_str(), &end);
    if (end == f[i - 1].c_str() || *end != '\0' || !std::isfinite(v)) return std::nullopt;
    return v;
}
std::optional<std::pair<double, double>> position(const std::vector<std::string>& f, std::size_t first) {
    for (std::size_t i = first; i < first + 6; ++i)
        if (!num(f, i)) return std::nullopt;
    return std::make_pair(DmsToDegrees(f[first - 1], f[first], f[first + 1]),
                          DmsToDegrees(f[first + 2], f[first + 3], f[first + 4]));
}
// The value as the file gives it, for messages.
std::string shown(double v) {
    char b[32];
    std::snprintf(b, sizeof b, "%.12g", v);
    return b;
}

// A value outside what the programs write is refused: a position off the
// globe or a radius past its columns would make the map span the world in
// ticks, or convert out of a float's range.
std::optional<std::string> outsideRange(const char* what, double v, double lo, double hi, std::size_t lineIndex) {
    if (v >= lo && v <= hi) return std::nullopt;
    return std::string(what) + " " + shown(v) + " in line " + std::to_string(lineIndex + 1) + " is outside " +
           shown(lo) + " to " + shown(hi);
}
std::optional<std::string> badPosition(const std::pair<double, double>& pos, std::size_t lineIndex) {
    if (auto e = outsideRange("the latitude", pos.first, -90, 90, lineIndex)) return e;
    return outsideRange("the longitude", pos.second, -180, 180, lineIndex);
}

std::string firstToken(const std::string& line) {
    std::string t = line;
    return NextToken(" ", t);
}
std::string numberText(double v, int decimals) {
    char b[32];
    std::snprintf(b, sizeof b, "%.*f", decimals, v);
    return b;
}
std::string plain(double v) {
    char b[32];
    std::snprintf(b, sizeof b, "%g", v);
    return b;
}

struct Map {
    Plot& plot;
    PanelRecord panel;
    double R = 0;
    // Half the length of the arms of the cross at the map centre; 0 when the
    // map has none. Labels are set clear of it.
    double crossHalf = 0;

    void setUp(double r) {
        R = r;
        panel = {};
        panel.SheetRect = {1.2f, 6.95f, 1.75f, 7.5f};
        panel.DataRect = {float(-R), float(R), float(R), float(-R)};
        panel.ClipRect = plot.PageFrame;
        SetPanelMapping(panel);
        SetWorldWindow(plot, panel.ClipDataRect);
    }

    template <class F>
    void both(F&& f) { detail::inBoth(plot, f); }

    // Ticks and labels on the right and bottom edges only. Near the poles the
    // longitude ticks would crowd without end: they are left out where a
    // degree of longitude is under a mile.
    void latLonGrid(double lat0, double lon0) {
        const double t = R / 45;
        const double step = R < 60 ? 0.5 : 1.0;
        detail::setFonts(plot, 0.14, 0.1568, plot.TextFontFace);
        auto labelled = [&](double v) {
            const double q = std::fabs(v) / step;
            return q - std::floor(q) < 0.001;
        };
        const double lo = lat0 - R / 60, hi = lat0 + R / 60;
        both([&](DrawContext& dc, bool) {
            for (int i = int(std::floor(6 * lo + 1 - 0.001)); i <= int(std::floor(6 * hi + 0.001)); ++i) {
                const double v = i / 6.0, y = (v - lat0) * 60;
                if (std::fabs(v) > 90) continue;
                if (labelled(v)) {
                    PlotLine(dc, R, y, R + 2 * t, y);
                    PlotText(dc, numberText(std::fabs(v), 1), R + 3 * t, y, 1, 0);
                } else {
                    PlotLine(dc, R, y, R + t, y);
                }
            }
            const double c = std::cos(lat0 * kDegToRad);
            if (c * 60 < 1) return;
            const double half = R / (60 * c);
            for (int i = int(std::floor(6 * (lon0 - half) + 1 - 0.001)); i <= int(std::floor(6 * (lon0 + half) + 0.001)); ++i) {
                const double u = i / 6.0, x = -(u - lon0) * 60 * c;
                if (labelled(u)) {
                    PlotLine(dc, x, -R, x, -R - 2 * t);
                    PlotText(dc, numberText(std::fabs(u), 1), x, -R - 2.5 * t, 3, 0);
                } else {
                    PlotLine(dc, x, -R, x, -R - t);
                }
            }
        });
    }

    // kind 0 square (FM), 1 square with diamond (VOR), 2 diamond (COM). The
    // highlight is red in the picture and in the metafile alike.
    void symbol(int kind, double x, double y, double size, const std::string& label, bool highlight) {
        const LabelPlace at = label.empty() ? LabelPlace{x, y, 3} : symbolLabelPlace(x, y, size, label);
        both([&](DrawContext& dc, bool) {
            if (highlight) {
                SetPenColor(dc, kRed);
                SetTextColor(dc, kRed);
            }
            if (kind == 0 || kind == 1) {
                const double h = 0.3535 * size;
                PlotBox(dc, x - h, y - h, x + h, y + h);
                if (highlight)
                    for (int i = 1; i <= 23; ++i) PlotLine(dc, x - h, y - h + i * h / 12, x + h, y - h + i * h / 12);
            }
            if (kind == 1 || kind == 2) {
                const double h = size / 2;
                PlotMoveTo(dc, x - h, y);
                PlotLineTo(dc, x, y - h);
                PlotLineTo(dc, x + h, y);
                PlotLineTo(dc, x, y + h);
                PlotLineTo(dc, x - h, y);
                if (highlight) {
                    const double s = h / 17;
                    for (int i = 0; i < 33; ++i) {
                        const double w = (i < 17 ? i : 32 - i) * s;
                        const double yy = y - h + s * (i + 1);
                        PlotLine(dc, x - w, yy, x + w, yy);
                    }
                }
            }
            if (!label.empty()) PlotText(dc, label, at.x, at.y, at.align, 0);
            if (highlight) {
                SetPenColor(dc, kBlack);
                SetTextColor(dc, kBlack);
            }
        });
    }

    struct LabelPlace {
        double x, y;
        int align;
    };

    // A symbol's label stands just below it, or, where that would cover the
    // centre cross, above it, to its right or to its left.
    LabelPlace symbolLabelPlace(double x, double y, double size, const std::string& label) const {
        const double gap = 0.6 * std::fabs(size);
        const double nmiPerIn = std::fabs(panel.ScaleY);
        const double w = 0.8 * 0.1456 * nmiPerIn * double(label.size()), h = 1.2 * 0.1456 * nmiPerIn;
        const double margin = 0.04 * nmiPerIn;
        // Each place with the centre of the box the label covers (north up).
        const struct {
            LabelPlace place;
            double cx, cy;
        } places[] = {
            {{x, y - gap, 3}, x, y - gap - h / 2},
            {{x, y + gap, 5}, x, y + gap + h / 2},
            {{x + gap, y, 1}, x + gap + w / 2, y},
            {{x - gap, y, 7}, x - gap - w / 2, y},
        };
        for (const auto& p : places)
            if (crossHalf <= 0 || !boxMeetsCross(p.cx, p.cy, 1, 0, w / 2 + margin, h / 2 + margin, crossHalf))
                return p.place;
        return places[0].place;
    }

    void localizerVolume(double xc, double yc, double course, double r35, double r10, const std::string& id) {
        const double a = 270 - course;
        std::vector<std::pair<double, double>> pts{{xc, yc}};
        for (int k = -35; k <= 35; ++k) {
            const double r = std::abs(k) <= 10 ? r10 : r35;
            if (k == -10 || k == 10) {
                pts.emplace_back(xc + r35 * std::cos((a + k) * kDegToRad), yc + r35 * std::sin((a + k) * kDegToRad));
                pts.emplace_back(xc + r10 * std::cos((a + k) * kDegToRad), yc + r10 * std::sin((a + k) * kDegToRad));
                if (k == 10) std::swap(pts[pts.size() - 1], pts[pts.size() - 2]);
                continue;
            }
            pts.emplace_back(xc + r * std::cos((a + k) * kDegToRad), yc + r * std::sin((a + k) * kDegToRad));
        }
        pts.emplace_back(xc, yc);
        both([&](DrawContext& dc, bool) {
            for (std::size_t i = 1; i < pts.size(); ++i)
                PlotClippedLine(dc, pts[i - 1].first, pts[i - 1].second, pts[i].first, pts[i].second, -R, R, -R, R);
        });
        if (id.empty() || !(std::fabs(xc) < R) || !(std::fabs(yc) < R)) return;
        const IdPlace at = identifierPlace(xc, yc, a, r10, id);
        both([&](DrawContext& dc, bool) { PlotText(dc, id, at.x, at.y, 4, at.angle); });
    }

    struct IdPlace {
        double x, y, angle;
    };

    // The identifier runs along the centre line, turned so that it never
    // stands on its head, and sits where it covers neither the sector's own
    // outline nor the centre cross: behind the antenna (on the runway side,
    // where the sector draws nothing) or else beyond the sector's far end.
    // Only when both would leave the map or cover the cross does it take the
    // place inside the sector, 6 nmi out.
    IdPlace identifierPlace(double xc, double yc, double a, double r10, const std::string& id) const {
        double angle = std::remainder(a, 360.0);  // -180..180
        if (angle > 90.0) angle -= 180.0;
        else if (angle <= -90.0) angle += 180.0;
        const double ux = std::cos(a * kDegToRad), uy = std::sin(a * kDegToRad);
        // The text's extent in nmi, generous: capitals of the larger of the
        // two fonts (0.1456 in) at up to 0.8 em, 1.2 em of line.
        const double nmiPerIn = std::fabs(panel.ScaleY);
        const double halfLength = 0.5 * 0.8 * 0.1456 * nmiPerIn * double(id.size());
        const double halfHeight = 0.5 * 1.2 * 0.1456 * nmiPerIn;
        const double margin = 0.08 * nmiPerIn;
        for (const double d : {-(halfLength + margin), r10 + halfLength + margin}) {
            const double x = xc + d * ux, y = yc + d * uy;
            if (!boxInsideMap(x, y, ux, uy, halfLength, halfHeight)) continue;
            if (boxMeetsCross(x, y, ux, uy, halfLength + margin, halfHeight + margin, crossHalf)) continue;
            return {x, y, angle};
        }
        return {xc + 6 * ux, yc + 6 * uy, angle};
    }

    bool boxInsideMap(double x, double y, double ux, double uy, double hl, double hh) const {
        const double ex = std::fabs(ux) * hl + std::fabs(uy) * hh, ey = std::fabs(uy) * hl + std::fabs(ux) * hh;
        return std::fabs(x) + ex < R && std::fabs(y) + ey < R;
    }

    // Whether the text box (centre, direction, half extents) meets one of the
    // centre cross's arms, segments of 2 arm through the map centre.
    static bool boxMeetsCross(double x, double y, double ux, double uy, double hl, double hh, double arm) {
        const double arms[2][4] = {{-arm, 0, arm, 0}, {0, -arm, 0, arm}};
        for (const auto& s : arms) {
            // The arm in the box's own axes, clipped against the box.
            auto local = [&](double px, double py) {
                const double dx = px - x, dy = py - y;
                return std::pair{dx * ux + dy * uy, -dx * uy + dy * ux};
            };
            const auto [s0, t0] = local(s[0], s[1]);
            const auto [s1, t1] = local(s[2], s[3]);
            double lo = 0.0, hi = 1.0;
            bool outside = false;
            for (const auto& [p, q, h] : {std::tuple{s0, s1 - s0, hl}, std::tuple{t0, t1 - t0, hh}}) {
                if (std::fabs(q) < 1e-12) {
                    if (std::fabs(p) > h) outside = true;
                    continue;
                }
                double e0 = (-h - p) / q, e1 = (h - p) / q;
                if (e0 > e1) std::swap(e0, e1);
                lo = std::max(lo, e0);
                hi = std::min(hi, e1);
            }
            if (!outside && lo <= hi) return true;
        }
        return false;
    }

    void pageTexts(const std::string& title, double firstY, const std::vector<std::string>& lines, double extraGapAt) {
        SetWorldWindow(plot, plot.PageFrame);
        detail::setFonts(plot, 0.25, 0.28, plot.PlotFontFace);
        both([&](DrawContext& dc, bool) { PlotText(dc, title, 4.25, 1.0, 3, 0); });
        detail::setFonts(plot, 0.15, 0.168, plot.TextFontFace);
        both([&](DrawContext& dc, bool) {
            double y = firstY;
            for (std::size_t i = 0; i < lines.size(); ++i) {
                if (double(i) == extraGapAt) y += 0.2;
                PlotText(dc, lines[i], 1.2, y, 0, 0);
                y += 0.3;
            }
        });
    }
};

bool progressStep(ProgressDisplay* progress, int value) {
    if (!progress) return false;
    progress->Value(value);
    return progress->Canceled();
}

}  // namespace

platform::Expected<MapPage> PlotFacilityLocations(Plot& plot, const std::string& dirPath, const std::string& fileName,
                                                  const std::string& airspaceCase, const Geodesy& geo,
                                                  ProgressDisplay* progress) {
    const std::string path = detail::joinPath(dirPath, fileName);
    auto invalid = [&](const std::string& why) { return platform::makeError("Invalid search plot file " + path + ": " + why); };
    const auto read = readLines(path);
    if (!read) return platform::makeError(read.error());
    const std::vector<std::string>& lines = *read;
    if (!geo.LLDist) return platform::makeError("No position arithmetic for the map of " + path);
    const bool current = !lines.empty() && lines[0].find("CRV Version") != std::string::npos;
    const std::string terminator = current ? "$$$" : "999";
    const std::size_t typeField = current ? 13 : 12;
    std::size_t first = current ? 1 : 0, end = first;
    while (end < lines.size() && firstToken(lines[end]) != terminator) ++end;
    if (end >= lines.size()) return invalid("the facility list has no end line \"" + terminator + "\"");
    if (end + 1 >= lines.size()) return invalid("the proponent line is missing");
    const std::string& prop = lines[end + 1];
    const std::string propName = trim(current ? cols(prop, 2, 8) : cols(prop, 6, 9));
    const auto pf = SplitFields(from(prop, current ? 10 : 11), " ", 7);
    const auto propPos = position(pf, 2);
    if (!num(pf, 1) || !propPos) return invalid("the proponent line has no frequency or position");
    if (auto e = badPosition(*propPos, end + 1)) return invalid(*e);
    // Every facility is checked before anything is drawn.
    for (std::size_t i = first; i < end; ++i) {
        const auto f = SplitFields(from(lines[i], 6), " ", 13);
        const auto pos = position(f, 3);
        const auto heading = num(f, 1);
        const auto type = num(f, typeField);
        if (!pos || !heading || !type) continue;
        if (auto e = badPosition(*pos, i)) return invalid(*e);
        if (auto e = outsideRange("the heading", *heading, -999, 999, i)) return invalid(*e);
        if (auto e = outsideRange("the service volume type", *type, -99, 99, i)) return invalid(*e);
    }
    const double lat0 = propPos->first, lon0 = propPos->second;
    const int count = int(end - first);
    if (progress) progress->MaxValue(count);

    Map map{plot, {}, 0, 5};
    map.setUp(70);
    MapPage out;
    out.centreLat = float(lat0);
    out.centreLon = float(lon0);
    detail::setFonts(plot, 0.13, 0.1456, plot.PlotFontFace);
    const double size = kSymbolIn * map.panel.ScaleY;
    int locs = 0, vors = 0, coms = 0;
    for (int i = 1; i <= count; ++i) {
        const std::string& l = lines[first + i - 1];
        const std::string id = trim(cols(l, 2, 4));
        const auto f = SplitFields(from(l, 6), " ", 13);
        const auto pos = position(f, 3);
        const auto heading = num(f, 1);
        const auto type = num(f, typeField);
        if (pos && heading && type) {  // a facility with missing fields is left off the map
            float d = 0, b = 0;
            geo.LLDist(float(lat0), float(lon0), float(pos->first), float(pos->second), &d, &b);
            const double x = d * std::sin(b * kDegToRad), y = d * std::cos(b * kDegToRad);
            const int t = int(*type);
            if (t >= 0 && t <= 4) {
                const ServiceVolumeSize sv = GetServiceVolume(t);
                map.localizerVolume(x, y, *heading, sv.radius35Nmi, sv.radius10Nmi, id);
                ++locs;
            } else if (t >= 5 && t <= 7) {
                if (std::fabs(x) <= 70 && std::fabs(y) <= 70) map.symbol(1, x, y, size, id, false);
                ++vors;
            } else if (t >= 8) {
                if (std::fabs(x) <= 70 && std::fabs(y) <= 70) map.symbol(2, x, y, size, id, false);
                ++coms;
            }
        }
        if (progressStep(progress, i)) {
            out.canceled = true;
            out.panel = map.panel;
            return out;
        }
    }
    map.both([&](DrawContext& dc, bool) {
        PlotCircle(dc, 0, 0, 60);
        PlotCircle(dc, 0, 0, 30);
        PlotLine(dc, -5, 0, 5, 0);
        PlotLine(dc, 0, -5, 0, 5);
        PlotBox(dc, -70, 70, 70, -70);
    });
    map.latLonGrid(lat0, lon0);
    std::vector<std::string> text{
        "Airspace Case:  " + airspaceCase + "      Plot File:  " + fileName,
        "Proponent:  " + propName + "      Frequency:  " + plain(*num(pf, 1)) + " MHz",
        "Latitude:  " + FormatLatLon(lat0, 1, 1) + "      Longitude:  " + FormatLatLon(lon0, 2, 1),
        "Search Radius:  60 nmi"};
    if (locs > 0) text.push_back("Note:  Localizer service volumes drawn to scale.");
    map.pageTexts("Locations of QVA Facilities", 8.3, text, 4);
    // Legend: each entry only when present, 0.35 in apart.
    const double lx = 6.85;
    double y = 8.45;
    if (locs) {
        y += 0.35;
        map.both([&](DrawContext& dc, bool) {
            PlotSectorPlan(dc, lx - 0.65, y, 270, 0.15, 0.27, 0);
            PlotText(dc, "LOC", lx, y, 4, 0);
        });
    }
    for (const auto& [present, kind, label] : {std::tuple{vors > 0, 1, "VOR"}, std::tuple{coms > 0, 2, "COM"}}) {
        if (!present) continue;
        y += 0.35;
        map.symbol(kind, lx - 0.5, y, kSymbolIn, "", false);
        map.both([&, label = label](DrawContext& dc, bool) { PlotText(dc, label, lx, y, 4, 0); });
    }
    map.both([&](DrawContext& dc, bool) { PlotBox(dc, 6.1, 8.55, 7.2, y + 0.25); });
    out.panel = map.panel;
    return out;
}

platform::Expected<MapPage> PlotEmitterLocations(Plot& plot, const std::string& dirPath, const std::string& fileName,
                                                 const Geodesy& geo, ProgressDisplay* progress) {
    const std::string path = detail::joinPath(dirPath, fileName);
    auto invalid = [&](const std::string& why) { return platform::makeError("Invalid search plot file " + path + ": " + why); };
    const auto read = readLines(path);
    if (!read) return platform::makeError(read.error());
    const std::vector<std::string>& lines = *read;
    if (!geo.LLDist || !geo.DistLL) return platform::makeError("No position arithmetic for the map of " + path);
    const bool current = !lines.empty() && lines[0].find("CRV Version") != std::string::npos;
    const std::string terminator = current ? "$$$$" : "999";
    const std::size_t navIndex = current ? 1 : 0;
    if (navIndex >= lines.size()) return invalid("the navaid line is missing");
    std::size_t first = navIndex + 1, end = first;
    while (end < lines.size() && firstToken(lines[end]) != terminator) ++end;
    if (end >= lines.size()) return invalid("the RF source list has no end line \"" + terminator + "\"");
    const std::string& nav = lines[navIndex];
    const std::string id = trim(cols(nav, 2, 4));
    const auto nf = SplitFields(from(nav, 6), " ", 16);
    const auto navPos = position(nf, 3);
    const auto heading = num(nf, 1), freq = num(nf, 2), type = num(nf, current ? 13 : 12);
    if (!navPos || !heading || !freq || !type) return invalid("the navaid line has no heading, frequency, position or type");
    const double elevation = num(nf, 9).value_or(0);
    double searchRadius = 0;
    if (current) {
        if (end + 2 >= lines.size()) return invalid("the case line is missing");
        char* e = nullptr;
        const std::string r = trim(cols(lines[end + 2], 53, 54));
        searchRadius = std::strtod(r.c_str(), &e);
        if (r.empty() || *e != '\0') return invalid("the case line has no search radius");
    } else {
        const auto r = num(nf, 16);
        if (!r) return invalid("the navaid line has no search radius");
        searchRadius = *r;
    }
    if (auto e = badPosition(*navPos, navIndex)) return invalid(*e);
    if (auto e = outsideRange("the heading", *heading, -999, 999, navIndex)) return invalid(*e);
    if (auto e = outsideRange("the service volume type", *type, -99, 99, navIndex)) return invalid(*e);
    // The search radius has two columns in the case line (the service-volume
    // radius, below, three in the navaid line).
    if (auto e = outsideRange("the search radius", searchRadius, 0, 99, current ? end + 2 : navIndex)) return invalid(*e);
    for (std::size_t i = first; i < end; ++i) {
        const auto f = SplitFields(from(lines[i], current ? 10 : 11), " ", 13);
        if (const auto pos = position(f, 2))
            if (auto e = badPosition(*pos, i)) return invalid(*e);
        if (const auto status = num(f, 13))
            if (auto e = outsideRange("the proponent status", *status, -99, 99, i)) return invalid(*e);
    }
    // The map names the case it was made from: the case line's Airspace Case
    // (columns 2-16 in every layout), never whichever case was opened last.
    const std::string airspaceCase = end + 2 < lines.size() ? trim(cols(lines[end + 2], 2, 16)) : std::string();
    const int svType = std::clamp(int(*type), 0, 8);
    double a = 0, b = 0;
    float cLat = float(navPos->first), cLon = float(navPos->second);
    const ServiceVolumeSize sv = GetServiceVolume(svType);
    if (svType <= 4) {
        if (svType == 1 || svType == 3) { a = 13; b = 9.85; } else { a = 9.7; b = 5.9; }
        geo.DistLL(float(a), float(*heading + 180), float(navPos->first), float(navPos->second), &cLat, &cLon);
    } else if (svType <= 7) {
        a = sv.radius35Nmi;
    } else {
        a = num(nf, 14).value_or(0);
        if (auto e = outsideRange("the service volume radius", a, 0, 999, navIndex)) return invalid(*e);
    }
    const double R0 = std::max(searchRadius + a, 20.0);
    const int count = int(end - first);
    const int maxValue = 2 * count + 20;
    const int step = std::max(1, int(std::lround(maxValue / 20.0)));
    if (progress) progress->MaxValue(maxValue);

    Map map{plot, {}, 0, 0};
    map.setUp(1.1 * R0);
    const double R = map.R;
    if (svType > 4) map.crossHalf = R / 20;
    MapPage out;
    out.centreLat = cLat;
    out.centreLon = cLon;
    detail::setFonts(plot, 0.13, 0.1456, plot.PlotFontFace);
    const double size = kSymbolIn * map.panel.ScaleY;
    bool fm = false, vor = false, com = false, prop = false;
    int counter = 0, next = 0;
    for (int pass = 0; pass < 2; ++pass) {
        for (int j = 1; j <= count; ++j) {
            const std::string& l = lines[first + j - 1];
            const auto f = SplitFields(from(l, current ? 10 : 11), " ", 13);
            const auto status = num(f, 13);
            const auto fr = num(f, 1);
            const auto pos = position(f, 2);
            if (status && fr && pos && int(*status) == pass) {
                float d = 0, brg = 0;
                geo.LLDist(cLat, cLon, float(pos->first), float(pos->second), &d, &brg);
                if (d < R0) {
                    const double x = d * std::sin(brg * kDegToRad), y = d * std::cos(brg * kDegToRad);
                    const std::string name = trim(current ? cols(l, 2, 8) : cols(l, 6, 9));
                    int kind = -1;
                    if (*fr <= 107.9) { kind = 0; fm = true; }
                    else if (!name.empty() && name[0] == 'V') { kind = 1; vor = true; }
                    else if (!name.empty() && name[0] == 'C') { kind = 2; com = true; }
                    if (kind >= 0) map.symbol(kind, x, y, size, std::to_string(j), pass == 1);
                    if (pass == 1) prop = true;
                }
            }
            if (++counter >= next) {
                next += step;
                if (progressStep(progress, counter)) {
                    out.canceled = true;
                    out.panel = map.panel;
                    return out;
                }
            }
        }
    }
    map.both([&](DrawContext& dc, bool) {
        if (svType <= 4) {
            PlotSectorPlan(dc, a * std::sin(*heading * kDegToRad), a * std::cos(*heading * kDegToRad), *heading,
                           sv.radius35Nmi, sv.radius10Nmi, 0);
            PlotEllipse(dc, 0, 0, searchRadius + a, searchRadius + b, *heading);
        } else {
            PlotCircle(dc, 0, 0, a);
            PlotCircle(dc, 0, 0, searchRadius + a);
            PlotLine(dc, -R / 20, 0, R / 20, 0);
            PlotLine(dc, 0, -R / 20, 0, R / 20);
        }
        PlotBox(dc, -R, R, R, -R);
    });
    map.latLonGrid(cLat, cLon);
    std::vector<std::string> text{
        "Airspace Case:  " + airspaceCase + "      Plot File:  " + fileName,
        "Navaid:  " + id + "      Frequency:  " + plain(*freq) + " MHz",
        "Heading:  " + (svType <= 4 ? std::to_string(std::lround(*heading)) + "\xB0" : std::string("N/A")) +
            "      Elevation:  " + plain(elevation) + " ft MSL",
        "Latitude:  " + FormatLatLon(navPos->first, 1, 1) + "      Longitude:  " + FormatLatLon(navPos->second, 2, 1),
        "Search Radius:  " + std::to_string(std::lround(searchRadius)) + " nmi"};
    map.pageTexts("Locations of RF Emitters", 8.4, text, -1);
    const double lx = 6.8;
    double y = 8.2;
    struct Entry { bool present; int kind; bool hl; const char* label; };
    for (const Entry& e : {Entry{fm, 0, false, "FM"}, Entry{vor, 1, false, "VOR"}, Entry{com, 2, false, "COM"},
                           Entry{prop, 0, true, "Prop"}}) {
        if (!e.present) continue;
        y += 0.35;
        map.symbol(e.kind, lx - 0.5, y, kSymbolIn, "", e.hl);
        map.both([&](DrawContext& dc, bool) { PlotText(dc, e.label, lx, y, 4, 0); });
    }
    map.both([&](DrawContext& dc, bool) { PlotBox(dc, 6.0, 8.3, 7.2, y + 0.25); });
    out.panel = map.panel;
    return out;
}

}  // namespace crv::viewers
