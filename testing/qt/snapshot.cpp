#include "crv/testing/qt/snapshot.h"

#include <QDir>
#include <QFileInfo>
#include <QPixmap>
#include <QWidget>

namespace crv::testing {

bool saveSnapshot(QWidget* widget, const QString& areaAndName) {
    if (!widget) return false;
    QString root = qEnvironmentVariable("CRV_SNAPSHOT_DIR");
    if (root.isEmpty()) root = QStringLiteral(CRV_SNAPSHOT_ROOT);
    const QString path = QDir(root).filePath(areaAndName + QStringLiteral(".png"));
    QDir().mkpath(QFileInfo(path).absolutePath());
    return widget->grab().save(path, "PNG");
}

}  // namespace crv::testing
