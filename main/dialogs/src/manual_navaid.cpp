#include "crv/main/dialogs/manual_navaid.h"

#include "crv/common/configuration.h"
#include "crv/common/conversions.h"
#include "crv/common/lat_lon.h"
#include "crv/platform/numbers.h"

namespace crv::main {

using namespace crv::common;

std::string BuildNavaidRecord(const NavaidRecordFields& f) {
    namespace nav = crv::formats::navaid_line;
    using crv::formats::putText;
    std::string r(kNavaidRecordLength, ' ');
    putText(r, nav::identifier, f.identifier);
    putText(r, nav::runwayHeading, f.heading);
    putText(r, nav::frequency, f.frequency);
    putText(r, nav::latitude, FormatLatLon(f.latitude, 1, 0));
    putText(r, nav::longitude, FormatLatLon(f.longitude, 2, 0));
    putText(r, nav::fieldElevation, f.elevation);
    putText(r, nav::runwayLength, f.runwayLength);
    putText(r, nav::transmitterPower, f.power);
    putText(r, nav::arrayType, f.arrayType);
    putText(r, nav::serviceVolumeType, f.svType);
    putText(r, nav::serviceVolumeRadius, f.svRadius);
    putText(r, nav::serviceVolumeHeight, f.svHeight);
    putText(r, crv::formats::navaid_record::backCourse, f.backCourse);
    return r;
}

const NavaidTypeRow& NavaidTypeOf(int type) {
    // The limits are singles, as the field check compares them.
    static const NavaidTypeRow rows[] = {
        {108.1f, 111.95f, "ILS", "110.100", " 15", " 0", " 0"},
        {108.1f, 111.95f, "TLS", "110.100", "  1", "35", " 4"},
        {108.0f, 117.975f, "VOR", "112.000", " 50", "36", " 5"},
        {118.0f, 136.0f, "COM", "127.000", " 10", "37", " 8"},
    };
    return rows[(type >= 1 && type <= 4 ? type : 4) - 1];
}

ManualNavaidModel::ManualNavaidModel(const AppState& state) {
    auto setCheck = [&](int k, std::int32_t kind, int width, float min, float max, int decimals, int maxLength) {
        FieldCheck& c = fields_.check(k);
        c.kind = kind;
        c.width = static_cast<std::int16_t>(width);
        c.min = min;
        c.max = max;
        c.decimals = static_cast<std::int16_t>(decimals);
        fields_.box(k).maxLength = maxLength;
    };
    setCheck(Identifier, kFieldNotBlank, 3, 0, 0, 0, 3);
    setCheck(Frequency, kFieldReal, 7, 0, 0, 3, 7);
    setCheck(Heading, kFieldInteger, 3, 0, 360, 0, 3);
    setCheck(Latitude, kFieldLatLon, 0, 1, 90, 1, 0);
    setCheck(Longitude, kFieldLatLon, 0, 2, 180, 1, 0);
    setCheck(Elevation, kFieldInteger, 5, -999, 99999, 0, 5);
    setCheck(SvRadius, kFieldInteger, 3, 1, 999, 0, 3);
    setCheck(SvHeight, kFieldInteger, 5, 1, 99900, 0, 5);
    setCheck(AirspaceCase, 1, 15, 0, 0, 0, 15);
    fields_.box(Identifier).identifier = true;

    setNavaidType(1);
    fields_.box(Elevation).setText("    0");
    fields_.box(Heading).setText("  0");
    ShowLastSite(fields_.box(Latitude), state.LastLatitude, 1);
    ShowLastSite(fields_.box(Longitude), state.LastLongitude, 2);
}

void ManualNavaidModel::setNavaidType(int type) {
    type_ = type;
    const NavaidTypeRow& row = NavaidTypeOf(type);
    fields_.check(Frequency).min = row.minMHz;
    fields_.check(Frequency).max = row.maxMHz;
    fields_.box(Frequency).setText(row.frequency);
    fields_.box(Identifier).setText(row.identifier);
    if (type == 3 || type == 4) fields_.box(Heading).setText("  0");
    if (type == 4) {
        fields_.box(SvRadius).setText("100");
        fields_.box(SvHeight).setText(" 1000");
    } else {
        fields_.box(SvRadius).setText("  0");
        fields_.box(SvHeight).setText("    0");
    }
    fields_.box(Heading).enabled = type == 1 || type == 2;
    fields_.box(SvRadius).enabled = type == 4;
    fields_.box(SvHeight).enabled = type == 4;
}

void ManualNavaidModel::setLatLonFormat(int fmt) {
    ReformatLatLonBox(fields_.box(Latitude), fields_.check(Latitude), 1, fmt);
    ReformatLatLonBox(fields_.box(Longitude), fields_.check(Longitude), 2, fmt);
}

int ManualNavaidModel::accept(AppState& state, crv::platform::SettingsStore& store, MessagePresenter& presenter) {
    const int bad = fields_.validateAll(presenter);
    if (bad >= 0) return bad;
    const double latitude = ParseLatLon(fields_.box(Latitude).text());
    const double longitude = ParseLatLon(fields_.box(Longitude).text());
    state.LastLatitude = FormatLatLon(latitude, 1, 1);
    state.LastLongitude = FormatLatLon(longitude, 2, 1);
    state.AirspaceCase = leftSet(crv::platform::trimBlanks(fields_.box(AirspaceCase).text()), 15);
    (void)SaveGeneralSettings(state, store);

    const NavaidTypeRow& row = NavaidTypeOf(type_);
    NavaidRecordFields f;
    f.identifier = fields_.box(Identifier).text();
    f.heading = fields_.box(Heading).text();
    f.frequency = fields_.box(Frequency).text();
    f.latitude = latitude;
    f.longitude = longitude;
    f.elevation = fields_.box(Elevation).text();
    f.power = row.power;
    f.arrayType = row.arrayType;
    f.svType = row.svType;
    f.svRadius = fields_.box(SvRadius).text();
    f.svHeight = fields_.box(SvHeight).text();
    state.NavaidRecord = BuildNavaidRecord(f);
    state.ProponentRecord.clear();  // a hand-entered facility has no proponent
    return -1;
}

}  // namespace crv::main
