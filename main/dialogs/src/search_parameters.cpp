#include "crv/main/dialogs/search_parameters.h"

#include <algorithm>

#include "crv/common/conversions.h"
#include "crv/common/text_utils.h"

namespace crv::main {

ServiceVolumeGroup ServiceVolumeGroupOf(int svType) {
    if (svType <= 3)
        return {0, {"Standard Front Course", "Expanded Front Course", "Standard Back Course", "Expanded Back Course"}};
    if (svType == 4) return {4, {"Transponder Landing System"}};
    if (svType <= 7) return {5, {"Terminal VOR", "Low-Altitude VOR", "High-Altitude VOR"}};
    return {8, {"VHF Comm Facility"}};
}

SearchParametersModel::SearchParametersModel(bool backCrs, int svType, float srchRad, const std::string& modelType)
    : group_(ServiceVolumeGroupOf(svType)), backCrs_(backCrs), incomingRadius_(srchRad) {
    crv::common::FieldCheck& c = fields_.check(0);
    c.kind = crv::common::kFieldInteger;
    c.width = 2;
    c.min = 1;
    c.max = 99;
    c.decimals = 0;
    fields_.box(0).maxLength = 2;
    fields_.box(0).enabled = modelType == "SCI";
    // A type below the group's first (a negative one) shows the first entry.
    setListIndex(svType - group_.firstType);
    fields_.box(0).setText(crv::common::FormatField(srchRad, 2, 0));
}

void SearchParametersModel::setListIndex(int index) {
    listIndex_ = std::clamp(index, 0, static_cast<int>(group_.entries.size()) - 1);
}

int SearchParametersModel::accept(crv::common::MessagePresenter& presenter, int& svType, float& srchRad) {
    const int bad = fields_.validateAll(presenter);
    if (bad >= 0) return bad;
    svType = listIndex_ + group_.firstType;
    // The field edition cannot change the radius: it goes back as it came.
    srchRad = radiusEditable() ? static_cast<float>(crv::common::Val(fields_.box(0).text())) : incomingRadius_;
    return -1;
}

}  // namespace crv::main
