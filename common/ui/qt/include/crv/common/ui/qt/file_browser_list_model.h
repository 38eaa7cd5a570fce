#pragma once
// The file browser's list as a Qt table model over FileBrowserModel: one row
// per listed file, the kind's columns, sizes right-aligned, the tool tip of
// kinds 4 to 7.
#include <QAbstractTableModel>

#include "crv/common/ui/file_browser_model.h"

namespace crv::common::ui {

class FileListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit FileListModel(const FileBrowserModel& browser, QObject* parent = nullptr)
        : QAbstractTableModel(parent), browser_(browser) {}

    // The browser's list or columns changed.
    void refresh();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    const FileBrowserModel& browser_;
    std::vector<BrowserColumn> columns_;
};

// Texts of the data files are Windows-1252.
QString fromWindows1252(std::string_view text);

}  // namespace crv::common::ui
