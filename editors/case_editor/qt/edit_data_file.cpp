#include "crv/editors/case_editor/qt/edit_data_file.h"

#include <QApplication>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>

#include "crv/common/error_report.h"
#include "crv/common/ui/qt/form_services.h"
#include "crv/common/ui/qt/help.h"
#include "crv/common/ui/qt/recent_files_menu.h"
#include "frm_data_edit.h"

CRV_HELP_RESOURCE(case_editor_help)

namespace crv::editors {

std::string caseEditorHelpTopic(int topic) {
    const int page = topic >= 16 && topic <= 19 ? topic - 15 : 1;
    return "case_editor_page" + std::to_string(page);
}

int EditDataFile(const CaseEditorEnvironment& env) {
    const FieldDictionary dictionary = FieldDictionary::forEdition(env.edition);
    EditorServices services;
    services.showFiles = env.showFiles;
    if (!services.showFiles) {
        services.showFiles = [&env](bool) -> std::optional<std::pair<std::string, std::string>> {
            const QString path = QFileDialog::getOpenFileName(
                nullptr, "Open", QString::fromStdString(env.app.DataFolder), "Data Files (*.dat)");
            if (path.isEmpty()) return std::nullopt;
            const QFileInfo info(path);
            return std::make_pair(info.absolutePath().toStdString() + "/", info.fileName().toStdString());
        };
    }
    services.saveAs = [](const std::string& folder, const std::string& file) {
        QFileDialog dialog(nullptr, "Save As", QString::fromStdString(folder), "Data Files (*.dat)");
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix("dat");
        dialog.setOption(QFileDialog::DontUseNativeDialog, qEnvironmentVariableIsSet("CRV_PLAIN_DIALOGS"));
        dialog.selectFile(QString::fromStdString(file));
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::string();
        return dialog.selectedFiles().first().toStdString();
    };
    services.showHelp = env.showHelp;
    if (!services.showHelp)
        services.showHelp = [](int topic) {
            crv::common::ui::showHelp(QString::fromStdString(caseEditorHelpTopic(topic)));
        };
    services.busy = [](bool on) {
        if (on)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        else
            QApplication::restoreOverrideCursor();
    };
    services.recentMenu = &crv::common::ui::RecentFilesNotifier::instance();
    frmDataEdit* shown = nullptr;
    services.status = [&shown](const std::string& text) {
        if (shown) shown->setStatus(QString::fromLatin1(text.c_str()));
    };
    services.lldist = env.lldist;

    int exitCode = 1;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        CaseEditorController controller(dictionary, env.app, env.store, env.presenter, services);
        frmDataEdit window(controller);
        shown = &window;
        auto opened = controller.openInitialCase();
        QApplication::restoreOverrideCursor();
        if (!opened) {
            crv::common::ShowUnexpectedError(env.presenter, "EditDataFile", opened.error());
            if (env.mainWindow) env.mainWindow->show();
            return 1;
        }
        QEventLoop loop;
        window.onClosed = [&loop] { loop.quit(); };
        // Over the main window, as every window of the program is placed.
        crv::common::ui::PlaceForm(&window, env.mainWindow);
        if (env.mainWindow) env.mainWindow->hide();
        window.show();
        // In the main window's place, keyboard included (see DisplayPlots).
        window.raise();
        window.activateWindow();
        controller.ResetEditor();
        window.showCase();
        if (!controller.closed) loop.exec();
        exitCode = controller.exitCode;
        // The main window first: closing the editor while it is hidden would
        // close the program's last window and end the program.
        if (env.mainWindow) {
            env.mainWindow->show();
            env.mainWindow->activateWindow();
        }
        window.programClose = true;
        window.close();
        shown = nullptr;
    } catch (const std::exception& e) {
        QApplication::restoreOverrideCursor();
        crv::common::ShowUnexpectedError(env.presenter, "EditDataFile", e.what());
        exitCode = 1;
    }
    if (env.mainWindow) env.mainWindow->show();
    QApplication::processEvents();
    return exitCode;
}

}  // namespace crv::editors
