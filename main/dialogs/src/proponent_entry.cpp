#include "crv/main/dialogs/proponent_entry.h"

#include "crv/common/configuration.h"
#include "crv/common/conversions.h"
#include "crv/common/lat_lon.h"
#include "crv/common/text_utils.h"
#include "crv/platform/numbers.h"

namespace crv::main {

using namespace crv::common;

namespace {
void put(std::string& record, int firstColumn, const std::string& text, int width) {
    for (int i = 0; i < width && i < static_cast<int>(text.size()); ++i)
        record[static_cast<std::size_t>(firstColumn - 1 + i)] = text[static_cast<std::size_t>(i)];
}
}  // namespace

std::string BuildProponentRecord(const std::string& identifier, const std::string& frequencyText, double latitude,
                                 double longitude) {
    std::string record(52, ' ');
    put(record, 2, identifier, 7);
    // The frequency as the box shows it, right-aligned in its 7 columns.
    const std::string f = std::string(crv::platform::trimBlanks(frequencyText));
    put(record, 10, f.size() < 7 ? std::string(7 - f.size(), ' ') + f : f, 7);
    put(record, 18, FormatLatLon(latitude, 1, 0), 9);
    put(record, 28, FormatLatLon(longitude, 2, 0), 10);
    put(record, 39, "  0.0000     0", 14);
    return record;
}

ProponentEntryModel::ProponentEntryModel(const AppState& state, bool manual) {
    auto setCheck = [&](int k, std::int32_t kind, int width, float min, float max, int decimals) {
        FieldCheck& c = fields_.check(k);
        c.kind = kind;
        c.width = static_cast<std::int16_t>(width);
        c.min = min;
        c.max = max;
        c.decimals = static_cast<std::int16_t>(decimals);
    };
    setCheck(Identifier, kFieldNotBlank, 7, 0, 0, 0);
    setCheck(Frequency, kFieldReal, 7, 88.0f, 117.9f, 3);
    setCheck(Latitude, kFieldLatLon, 0, 1, 90, 1);
    setCheck(Longitude, kFieldLatLon, 0, 2, 180, 1);
    setCheck(AirspaceCase, 1, 15, 0, 0, 0);  // text that may be blank
    setCheck(SearchRadius, kFieldInteger, 2, 1, 15, 0);
    fields_.box(Identifier).maxLength = 7;
    fields_.box(Identifier).identifier = true;
    fields_.box(Frequency).maxLength = 7;
    fields_.box(AirspaceCase).maxLength = 15;
    fields_.box(SearchRadius).maxLength = 2;
    fields_.box(Identifier).enabled = false;
    fields_.box(Frequency).enabled = false;

    // First activation.
    ShowLastSite(fields_.box(Latitude), state.LastLatitude, 1);
    ShowLastSite(fields_.box(Longitude), state.LastLongitude, 2);
    fields_.box(SearchRadius).setText(FormatField(3, 2, 0));
    radiusVisible_ = state.ModelType == "SCI";
    fields_.box(SearchRadius).visible = radiusVisible_;
    if (manual) {
        fields_.box(AirspaceCase).setText(std::string(crv::platform::trimBlanks(state.AirspaceCase)));
        setMethod(true);
    }
}

void ProponentEntryModel::setMethod(bool manual) {
    manual_ = manual;
    fields_.box(Identifier).setText(manual ? "PROP" : "");
    fields_.box(Identifier).enabled = manual;
    fields_.box(Frequency).enabled = manual;
    fields_.box(SearchRadius).enabled = !manual;
    fields_.box(Frequency).setText("");
}

void ProponentEntryModel::setLatLonFormat(int fmt) {
    ReformatLatLonBox(fields_.box(Latitude), fields_.check(Latitude), 1, fmt);
    ReformatLatLonBox(fields_.box(Longitude), fields_.check(Longitude), 2, fmt);
}

int ProponentEntryModel::accept(AppState& state, crv::platform::SettingsStore& store, MessagePresenter& presenter,
                                ProponentEntryResult& result) {
    const int bad = fields_.validateAll(presenter);
    if (bad >= 0) return bad;
    const double latitude = ParseLatLon(fields_.box(Latitude).text());
    const double longitude = ParseLatLon(fields_.box(Longitude).text());
    state.LastLatitude = FormatLatLon(latitude, 1, 1);
    state.LastLongitude = FormatLatLon(longitude, 2, 1);
    state.AirspaceCase = leftSet(crv::platform::trimBlanks(fields_.box(AirspaceCase).text()), 15);
    (void)SaveGeneralSettings(state, store);
    result = ProponentEntryResult{};
    result.Canceled = false;
    result.Manual = manual_;
    if (manual_) {
        state.ProponentRecord =
            BuildProponentRecord(fields_.box(Identifier).text(), fields_.box(Frequency).text(), latitude, longitude);
    } else {
        result.Latitude = static_cast<float>(latitude);
        result.Longitude = static_cast<float>(longitude);
        // The field edition has no radius field: its searches always use 3 nmi.
        result.SearchRadius = radiusVisible_ ? static_cast<float>(Val(fields_.box(SearchRadius).text())) : 3.0f;
    }
    return -1;
}

}  // namespace crv::main
