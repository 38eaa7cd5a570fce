#pragma once
// Pictures of windows for tests: saveSnapshot(w, "common/frmProgress") writes
// <CRV_SNAPSHOT_DIR>/common/frmProgress.png. Defined in crv_common_ui_testing
// (tests and benchmarks only).
#include <QString>

class QWidget;

namespace crv::common::ui {
bool saveSnapshot(QWidget* widget, const QString& areaAndName);
}
