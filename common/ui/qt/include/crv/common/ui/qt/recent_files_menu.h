#pragma once
// The recent-file entries of the File menus (the main window's and the case
// data editor's). The logic keeps the list (crv/common/dialog_services.h)
// and calls UpdateRecentFilesMenu on a RecentFilesMenu; here that is one
// program-wide notifier whose signal every bound menu section follows, so
// no window is looked up by name and a menu bound later catches up at once.
#include <array>
#include <string>

#include <QObject>
#include <QStringList>

#include "crv/common/configuration.h"
#include "crv/common/dialog_services.h"

class QAction;
class QMenu;

namespace crv::common::ui {

class RecentFilesNotifier : public QObject, public crv::common::RecentFilesMenu {
    Q_OBJECT
public:
    static RecentFilesNotifier& instance();
    void UpdateRecentFilesMenu(const crv::common::AppState& state) override;
    // What the menus show now: captions and the full paths behind them.
    const QStringList& captions() const { return captions_; }
    const QStringList& paths() const { return paths_; }

signals:
    void recentFilesChanged(const QStringList& captions, const QStringList& paths);

private:
    QStringList captions_;
    QStringList paths_;
};

// The five mnuFileRecent entries of one File menu, hidden until filled and
// never hidden again (the list only grows while the program runs). The full
// path sits in each action's data; a "&" in a name is shown as it is.
class RecentFilesMenuSection : public QObject {
    Q_OBJECT
public:
    // Adds the separator (objectName `separatorName`, hidden) and the five
    // entries before `before`, or at the end of `menu` when it is null.
    RecentFilesMenuSection(QMenu* menu, QAction* before = nullptr,
                           const QString& separatorName = QStringLiteral("mnuFileSep2"));
    QAction* entry(int index) const { return entries_[std::size_t(index)]; }
    QAction* separator() const { return separator_; }
    void show(const QStringList& captions, const QStringList& paths);

signals:
    // A recent entry was chosen; its full path.
    void openRecentFile(const QString& path);

private:
    QAction* separator_;
    std::array<QAction*, crv::common::kRecentFileCount> entries_{};
};

// The program's calls: the common AddRecentFile and the menu refresh, both
// through the notifier.
void AddRecentFile(crv::common::AppState& state, const std::string& path, crv::platform::SettingsStore& store);
void UpdateRecentFilesMenu(const crv::common::AppState& state);

}  // namespace crv::common::ui
