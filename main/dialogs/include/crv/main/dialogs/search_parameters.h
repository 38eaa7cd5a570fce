#pragma once
// The RF-source search parameters dialog's rules (frmSrchPar): the
// service-volume types of the navaid's kind and the search radius, editable
// only in the scientific edition.
#include <string>
#include <vector>

#include "crv/main/dialogs/field_box.h"

namespace crv::main {

struct ServiceVolumeGroup {
    int firstType = 0;
    std::vector<std::string> entries;
};

// The group of a service-volume type: localizer 0-3, TLS 4, VOR 5-7, VHF COM 8 and above.
ServiceVolumeGroup ServiceVolumeGroupOf(int svType);

inline constexpr const char* kBackCourseNote = "NOTE:  Back course analysis is also required for this localizer.";

class SearchParametersModel {
public:
    SearchParametersModel(bool backCrs, int svType, float srchRad, const std::string& modelType);

    const ServiceVolumeGroup& group() const { return group_; }
    bool backCourseNote() const { return backCrs_; }
    int listIndex() const { return listIndex_; }
    void setListIndex(int index);
    FieldSet& fields() { return fields_; }
    bool radiusEditable() const { return fields_.box(0).enabled; }

    // OK: the radius is checked when it can be edited; -1 when accepted.
    int accept(crv::common::MessagePresenter& presenter, int& svType, float& srchRad);

private:
    ServiceVolumeGroup group_;
    FieldSet fields_{1};
    bool backCrs_ = false;
    int listIndex_ = 0;
    float incomingRadius_ = 0;
};

}  // namespace crv::main
