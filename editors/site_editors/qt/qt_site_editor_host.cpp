#include "crv/editors/site_editors/qt/qt_site_editor_host.h"

#include <utility>

#include <QDir>
#include <QFileDialog>
#include <QStringList>

#include "crv/common/configuration.h"
#include "crv/common/ui/qt/help.h"
#include "crv/common/ui/qt/message_presenter.h"

static void initSiteEditorsHelp() { Q_INIT_RESOURCE(site_editors_help); }

namespace crv::editors {

QString qtFilter(const std::string& filter) {
    // Pairs of caption and pattern; Qt shows the caption, which holds the pattern.
    const QStringList parts = QString::fromStdString(filter).split('|');
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) out << parts[i];
    return out.join(";;");
}

QtSiteEditorHost::QtSiteEditorHost(common::AppState& state, platform::SettingsStore& store, PlotWindow plotWindow,
                                   QWidget* parent)
    : plotWindow_(std::move(plotWindow)), state_(state), store_(store), parent_(parent) {}

common::MessagePresenter& QtSiteEditorHost::presenter() { return common::ui::appPresenter(); }

void QtSiteEditorHost::savePaths() {
    if (auto saved = common::SavePaths(state_, store_); !saved)
        presenter().present(
            {" The folders could not be stored: " + std::string(1, common::kCR) + " " + saved.error() + " ",
             "Location of Files", common::MessageIcon::Exclamation, common::MessageButtons::Ok});
}

std::string QtSiteEditorHost::showFiles(int kind, bool keepSettings) {
    if (fileBrowser) return fileBrowser(kind, keepSettings);
    const char* filter = kind == 5   ? "Pattern Files (*.pat)|*.pat|All Files (*.*)|*.*"
                         : kind == 6 ? "Calibration Data (*.cal)|*.cal|All Files (*.*)|*.*"
                                     : "Receiver Points (*.pts)|*.pts|All Files (*.*)|*.*";
    return QFileDialog::getOpenFileName(parent_, "Open", QString::fromStdString(state_.UserFolder), qtFilter(filter))
        .toStdString();
}

std::string QtSiteEditorHost::askSaveFile(const FileDialogRequest& r) {
    QFileDialog dialog(parent_, QString::fromStdString(r.title),
                       QString::fromStdString(r.initialFolder + r.initialName), qtFilter(r.filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    if (!r.defaultExtension.empty()) dialog.setDefaultSuffix(QString::fromStdString(r.defaultExtension.substr(1)));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().first().toStdString();
}

std::string QtSiteEditorHost::askOpenFile(const FileDialogRequest& r) {
    QFileDialog dialog(parent_, QString::fromStdString(r.title), QString::fromStdString(r.initialFolder),
                       qtFilter(r.filter));
    dialog.setFileMode(QFileDialog::ExistingFile);
    // Folders to walk and plain files to pick: no FIFOs, sockets or devices,
    // which no reader takes (a typed one is refused when it is read).
    dialog.setFilter(QDir::AllDirs | QDir::Files | QDir::NoDotAndDotDot);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().first().toStdString();
}

void QtSiteEditorHost::displayPlots(const std::string& folder, const std::string& file) { plotWindow_(folder, file); }

void QtSiteEditorHost::showHelp(const std::string& topic) {
    initSiteEditorsHelp();
    common::ui::showHelp(QString::fromStdString(topic));
}

}  // namespace crv::editors
