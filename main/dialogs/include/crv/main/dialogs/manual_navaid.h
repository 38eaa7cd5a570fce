#pragma once
// Manual navaid entry (frmNavData): the nine fields, the navaid type table
// and the 72-column navaid record.
//
// Navaid record columns (1-based): 2-4 identifier, 6-8 runway heading, 10-16
// frequency, 18-26 latitude and 28-37 longitude (data-file form), 39-43 field
// elevation, 45-49 runway length, 51-53 transmitter power, 55-56 array type,
// 58-59 service-volume type, 61-63 service-volume radius, 65-69 its height,
// 71-72 the back-course flag. Column 70 and every unlisted column are blank.
#include <string>

#include "crv/common/app_state.h"
#include "crv/formats/case_file.h"
#include "crv/main/dialogs/field_box.h"
#include "crv/platform/settings_store.h"

namespace crv::main {

inline constexpr int kNavaidRecordLength = crv::formats::navaid_record::kLength;

struct NavaidRecordFields {
    std::string identifier;  // only the first 3 characters are taken
    std::string heading;     // width 3
    std::string frequency;   // width 7
    double latitude = 0;
    double longitude = 0;
    std::string elevation;  // width 5
    std::string runwayLength = "15000";
    std::string power;      // width 3
    std::string arrayType;  // width 2
    std::string svType;     // width 2
    std::string svRadius;   // width 3
    std::string svHeight;   // width 5
    std::string backCourse = " 0";
};

// A text longer than its columns is cut; a shorter one fills the leftmost
// columns.
std::string BuildNavaidRecord(const NavaidRecordFields& f);

struct NavaidTypeRow {
    float minMHz, maxMHz;
    const char* identifier;
    const char* frequency;
    const char* power;
    const char* arrayType;
    const char* svType;
};

// Types 1 ILS, 2 TLS, 3 VOR, 4 COM.
const NavaidTypeRow& NavaidTypeOf(int type);

class ManualNavaidModel {
public:
    enum Field {
        Identifier = 0,
        Frequency,
        Heading,
        Latitude,
        Longitude,
        Elevation,
        SvRadius,
        SvHeight,
        AirspaceCase,
        FieldCount
    };

    // The load: type ILS, elevation and heading 0, the last site.
    explicit ManualNavaidModel(const crv::common::AppState& state);

    FieldSet& fields() { return fields_; }
    const FieldSet& fields() const { return fields_; }
    int navaidType() const { return type_; }

    void setNavaidType(int type);
    void setLatLonFormat(int fmt);

    // OK: every enabled field is checked first (an emptied frequency must not
    // become a 0 MHz facility); returns the first failing field, or -1 after
    // setting the navaid record, clearing the proponent record and saving the
    // airspace case.
    int accept(crv::common::AppState& state, crv::platform::SettingsStore& store,
               crv::common::MessagePresenter& presenter);

private:
    FieldSet fields_{FieldCount};
    int type_ = 1;
};

}  // namespace crv::main
