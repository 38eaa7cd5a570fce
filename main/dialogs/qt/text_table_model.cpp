#include "crv/main/dialogs/qt/text_table_model.h"

#include "crv/common/ui/qt/qt_text.h"

namespace crv::main::qt {

using crv::common::ui::toQt;

TextTableModel::TextTableModel(std::array<const char*, 6> headers, std::array<Qt::Alignment, 6> alignments,
                               QObject* parent)
    : QAbstractTableModel(parent), headers_(headers), alignments_(alignments) {}

void TextTableModel::setRows(std::vector<Row> rows) {
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
}

int TextTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int TextTableModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 6; }

QVariant TextTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    if (role == Qt::DisplayRole)
        return toQt(rows_[static_cast<std::size_t>(index.row())][static_cast<std::size_t>(index.column())]);
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(alignments_[static_cast<std::size_t>(index.column())] | Qt::AlignVCenter);
    return {};
}

QVariant TextTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= 6) return {};
    if (role == Qt::DisplayRole) return QString::fromLatin1(headers_[static_cast<std::size_t>(section)]);
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(alignments_[static_cast<std::size_t>(section)] | Qt::AlignVCenter);
    return {};
}

}  // namespace crv::main::qt
