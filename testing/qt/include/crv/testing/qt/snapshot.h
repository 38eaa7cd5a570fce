#pragma once
// Pictures of windows for tests: saveSnapshot(w, "common/frmProgress") writes
// <snapshots>/common/frmProgress.png, where <snapshots> is CRV_SNAPSHOT_DIR
// from the environment or else the build's snapshots/ folder. In
// crv_testing_qt, which only tests and benchmarks link.
#include <QString>

class QWidget;

namespace crv::testing {
bool saveSnapshot(QWidget* widget, const QString& areaAndName);
}
