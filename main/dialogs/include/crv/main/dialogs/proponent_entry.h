#pragma once
// The proponent site dialog's rules (frmPropData): the six fields and their
// checks, the method and lat/lon format switches, and what OK stores. The
// window only shows this model.
#include <string>

#include "crv/common/app_state.h"
#include "crv/main/dialogs/field_box.h"
#include "crv/platform/settings_store.h"

namespace crv::main {

struct ProponentEntryResult {
    bool Canceled = true;
    bool Manual = false;
    float Latitude = 0;
    float Longitude = 0;
    float SearchRadius = 0;
};

// The 52-column proponent record of a hand-entered station.
std::string BuildProponentRecord(const std::string& identifier, const std::string& frequencyText, double latitude,
                                 double longitude);

class ProponentEntryModel {
public:
    enum Field { Identifier = 0, Frequency, Latitude, Longitude, AirspaceCase, SearchRadius, FieldCount };

    // The load and the first activation: the last site, the radius " 3", the
    // radius shown only in the scientific edition, manual entry pre-selected
    // when `manual` came in true.
    ProponentEntryModel(const crv::common::AppState& state, bool manual);

    FieldSet& fields() { return fields_; }
    const FieldSet& fields() const { return fields_; }
    bool manual() const { return manual_; }
    bool radiusVisible() const { return radiusVisible_; }
    // The box that takes the focus after a method change.
    int focusField() const { return manual_ ? Frequency : Latitude; }

    void setMethod(bool manual);
    void setLatLonFormat(int fmt);

    // OK: every enabled field is checked first (the first failing one is
    // returned and nothing is stored); then the last site, the airspace case
    // (saved) and, for manual entry, the proponent record are set. Returns -1
    // on success with `result` filled.
    int accept(crv::common::AppState& state, crv::platform::SettingsStore& store,
               crv::common::MessagePresenter& presenter, ProponentEntryResult& result);

private:
    FieldSet fields_{FieldCount};
    bool manual_ = false;
    bool radiusVisible_ = false;
};

}  // namespace crv::main
