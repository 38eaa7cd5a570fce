#include "crv/common/ui/qt/file_browser_list_model.h"

#include <QFile>

namespace crv::common::ui {

QString fromWindows1252(std::string_view text) {
    // 0x80-0x9F differ from Latin-1; 0 marks the five unassigned codes.
    static const char16_t high[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                      0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                      0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
    QString out;
    out.reserve(static_cast<qsizetype>(text.size()));
    for (char raw : text) {
        const auto c = static_cast<unsigned char>(raw);
        if (c >= 0x80 && c < 0xA0)
            out += QChar(high[c - 0x80] ? high[c - 0x80] : char16_t(0xFFFD));
        else
            out += QChar(static_cast<char16_t>(c));
    }
    return out;
}

void FileListModel::refresh() {
    beginResetModel();
    columns_ = browser_.columns();
    endResetModel();
}

int FileListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(browser_.items().size());
}

int FileListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant FileListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount()) return {};
    const FileItem& item = browser_.items()[static_cast<std::size_t>(index.row())];
    const BrowserColumn column = columns_[static_cast<std::size_t>(index.column())];
    switch (role) {
        case Qt::DisplayRole:
            // File names are the file system's; everything else is read from the data files.
            if (column == BrowserColumn::FileName) return QFile::decodeName(QByteArray::fromStdString(item.name));
            return fromWindows1252(browser_.cellText(item, column));
        case Qt::ToolTipRole:
            if (item.tip.empty()) return {};
            return fromWindows1252(item.tip);
        case Qt::TextAlignmentRole:
            if (column == BrowserColumn::Size) return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
            return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
        default: return {};
    }
}

QVariant FileListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount()) return {};
    const BrowserColumn column = columns_[static_cast<std::size_t>(section)];
    if (role == Qt::DisplayRole) return QString::fromStdString(columnTitle(column));
    if (role == Qt::TextAlignmentRole && column == BrowserColumn::Size)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

}  // namespace crv::common::ui
