#include "crv/common/ui/qt/os_services.h"

#include <QApplication>
#include <QFileDialog>

#include "crv/common/ui/qt/form_services.h"

namespace crv::common::ui {
namespace {

FolderChooser& chooser() {
    static FolderChooser c;
    return c;
}

QString askForFolder(QWidget* owner, const QString& title, const QString& start) {
    QFileDialog dialog(owner, title, start);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    fitFileDialog(&dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().front();
}

}  // namespace

QString BrowseForFolder(QWidget* owner, const QString& title, const QString& startFolder) {
    const QString start = startFolder.trimmed();
    QString folder = chooser() ? chooser()(owner, title, start) : askForFolder(owner, title, start);
    folder.replace(QLatin1Char('\\'), QLatin1Char('/'));
    while (folder.size() > 1 && folder.endsWith(QLatin1Char('/'))) folder.chop(1);
    return folder;
}

void setFolderChooser(FolderChooser c) { chooser() = std::move(c); }

}  // namespace crv::common::ui
