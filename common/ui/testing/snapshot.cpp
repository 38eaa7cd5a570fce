#include "crv/common/ui/snapshot.h"

#include <QDir>
#include <QFileInfo>
#include <QPixmap>
#include <QWidget>

namespace crv::common::ui {

bool saveSnapshot(QWidget* widget, const QString& areaAndName) {
    if (!widget) return false;
    QString root = qEnvironmentVariable("CRV_SNAPSHOT_DIR");
#ifdef CRV_SNAPSHOT_DIR
    if (root.isEmpty()) root = QStringLiteral(CRV_SNAPSHOT_DIR);
#endif
    if (root.isEmpty()) root = QStringLiteral(CRV_SNAPSHOT_ROOT);
    const QString path = QDir(root).filePath(areaAndName + QStringLiteral(".png"));
    QDir().mkpath(QFileInfo(path).absolutePath());
    return widget->grab().save(path, "PNG");
}

}  // namespace crv::common::ui
