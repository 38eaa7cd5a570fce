#pragma once
// The diagram box beside the case editor's fields reads the pages' fields as
// the diagrams take them (editors/diagrams).
#include "crv/editors/case_editor/page_fields.h"
#include "crv/editors/site_diagrams.h"

namespace crv::editors {

// The fields as they stand: lists as codes, text fields as numbers, the
// grid angle's text as typed.
DiagramFields diagramFields(const PageFields& pages);

}  // namespace crv::editors
