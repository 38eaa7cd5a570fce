#pragma once
// The folder chooser. (Placement reads Qt's screens: form_services.h.)
#include <functional>

#include <QString>

class QWidget;

namespace crv::common::ui {

// Asks for a folder, opening on `startFolder` when it is not blank. Returns
// the folder without a trailing "/" (the root keeps it), or "" when cancelled.
QString BrowseForFolder(QWidget* owner, const QString& title, const QString& startFolder);

// The question itself (tests script it): returns the chosen folder or "".
using FolderChooser = std::function<QString(QWidget* owner, const QString& title, const QString& startFolder)>;
// Null restores the folder dialog.
void setFolderChooser(FolderChooser chooser);

}  // namespace crv::common::ui
