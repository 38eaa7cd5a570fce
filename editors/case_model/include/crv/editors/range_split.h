#pragma once
// The range split of fields with flag SplitAtExtra: after a value is read
// from a case file, the field keeps only the part of its range on the value's
// side of the extra value (a navaid below 118 MHz keeps 108..117.999).
#include "crv/editors/field_dictionary.h"

namespace crv::editors {

// Narrows record's minimum or maximum for the value read; a record without
// the flag is left alone. Restoring is taking the dictionary's record again.
void SplitAtExtraValue(FieldRecord& record, float value);

}  // namespace crv::editors
