#include "crv/editors/range_split.h"

#include <cmath>

namespace crv::editors {

void SplitAtExtraValue(FieldRecord& record, float value) {
    if (!record.has(SplitAtExtra)) return;
    if (value >= record.extra) {
        record.minimum = record.extra;
    } else if (record.type == FieldType::List) {
        record.maximum = record.extra - 1.0f;
    } else {
        record.maximum = static_cast<float>(record.extra - std::pow(10.0, -record.decimals));
    }
}

}  // namespace crv::editors
