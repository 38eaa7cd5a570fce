#include "crv/common/ui/qt/recent_files_menu.h"

#include <QAction>
#include <QMenu>

#include "crv/common/ui/qt/qt_text.h"

namespace crv::common::ui {

RecentFilesNotifier& RecentFilesNotifier::instance() {
    static RecentFilesNotifier notifier;
    return notifier;
}

void RecentFilesNotifier::UpdateRecentFilesMenu(const crv::common::AppState& state) {
    const auto captions = crv::common::RecentFileCaptions(state);
    captions_.clear();
    paths_.clear();
    for (std::size_t i = 0; i < captions.size(); ++i) {
        // Captions are shortened paths: file names, the system's encoding.
        captions_ << displayToQt(captions[i]);
        paths_ << pathToQt(state.RecentFiles[i]);
    }
    emit recentFilesChanged(captions_, paths_);
}

RecentFilesMenuSection::RecentFilesMenuSection(QMenu* menu, QAction* before, const QString& separatorName)
    : QObject(menu) {
    separator_ = new QAction(menu);
    separator_->setSeparator(true);
    separator_->setObjectName(separatorName);
    separator_->setVisible(false);
    menu->insertAction(before, separator_);
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        auto* a = new QAction(QStringLiteral("RecentFile%1").arg(i + 1), menu);
        a->setObjectName(QStringLiteral("mnuFileRecent%1").arg(i + 1));
        a->setVisible(false);
        menu->insertAction(before, a);
        connect(a, &QAction::triggered, this, [this, a] { emit openRecentFile(a->data().toString()); });
        entries_[i] = a;
    }
    auto& notifier = RecentFilesNotifier::instance();
    connect(&notifier, &RecentFilesNotifier::recentFilesChanged, this, &RecentFilesMenuSection::show);
    show(notifier.captions(), notifier.paths());
}

void RecentFilesMenuSection::show(const QStringList& captions, const QStringList& paths) {
    for (qsizetype i = 0; i < captions.size() && i < qsizetype(entries_.size()); ++i) {
        QAction* a = entries_[std::size_t(i)];
        QString caption = captions[i];
        caption.replace(QLatin1Char('&'), QStringLiteral("&&"));
        a->setText(caption);
        a->setData(i < paths.size() ? paths[i] : QString());
        a->setVisible(true);
        separator_->setVisible(true);
    }
}

void AddRecentFile(crv::common::AppState& state, const std::string& path, crv::platform::SettingsStore& store) {
    crv::common::AddRecentFile(state, path, store, &RecentFilesNotifier::instance());
}

void UpdateRecentFilesMenu(const crv::common::AppState& state) {
    RecentFilesNotifier::instance().UpdateRecentFilesMenu(state);
}

}  // namespace crv::common::ui
