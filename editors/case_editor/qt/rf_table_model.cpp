#include "rf_table_model.h"

#include <QBrush>
#include <QColor>
#include <QFont>

namespace crv::editors {

namespace {
QColor qcolor(std::uint32_t rgb) { return QColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }
}  // namespace

RfTableModel::RfTableModel(RfTableEditor& editor, QObject* parent) : QAbstractTableModel(parent), editor_(editor) {}

int RfTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : editor_.table().rowCount();
}

int RfTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : editor_.table().columnCount();
}

QVariant RfTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const int r = index.row() + 1, c = index.column() + 1;
    const RfTable& t = editor_.table();
    if (r > t.rowCount() || c > t.columnCount()) return {};
    switch (role) {
        case Qt::DisplayRole: return QString::fromLatin1(editor_.displayText(r, c).c_str());
        case Qt::TextAlignmentRole: return int(Qt::AlignCenter);
        case Qt::BackgroundRole: {
            if (c > t.dataColumnCount()) return {};
            const auto colors = t.ColorRow(r, c);
            return colors.background == kNormalColor ? QVariant() : QVariant(QBrush(qcolor(colors.background)));
        }
        case Qt::ForegroundRole: {
            if (c > t.dataColumnCount()) return {};
            const auto colors = t.ColorRow(r, c);
            return colors.text == kNormalColor ? QVariant() : QVariant(QBrush(qcolor(colors.text)));
        }
        default: return {};
    }
}

QVariant RfTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    const RfTable& t = editor_.table();
    if (orientation == Qt::Vertical) {
        if (role == Qt::DisplayRole && section < t.rowCount())
            return QString::fromLatin1(t.SetRowHeader(section + 1).c_str());
        if (role == Qt::TextAlignmentRole) return int(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    }
    const int c = section + 1;
    if (c > t.columnCount()) return {};
    if (role == Qt::DisplayRole) {
        if (t.column(c).hidden()) return QString();
        if (c == t.erpColumn() && !erpHeader_.isEmpty()) return erpHeader_;
        return QString::fromLatin1(t.column(c).record.header.c_str());
    }
    // The Proponent Status header is bold while every row is a proponent or
    // ignored (the state the toggle menu entry names).
    if (role == Qt::FontRole && c == t.proponentColumn()) {
        QFont f;
        f.setBold(t.allProponent());
        return f;
    }
    return {};
}

void RfTableModel::reset() {
    beginResetModel();
    endResetModel();
}

void RfTableModel::rowChanged(int row) {
    if (row < 1 || row > editor_.table().rowCount()) return;
    emit dataChanged(index(row - 1, 0), index(row - 1, columnCount() - 1));
    emit headerDataChanged(Qt::Vertical, row - 1, row - 1);
}

void RfTableModel::setErpHeader(const QString& header) {
    erpHeader_ = header;
    emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

}  // namespace crv::editors
