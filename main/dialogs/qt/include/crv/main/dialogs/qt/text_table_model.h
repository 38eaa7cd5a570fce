#pragma once
// The rows of a selection list as a table model: one row per item, its
// shown texts per column, fixed headers and alignments.
#include <array>
#include <string>
#include <vector>

#include <QAbstractTableModel>

namespace crv::main::qt {

class TextTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using Row = std::array<std::string, 6>;
    TextTableModel(std::array<const char*, 6> headers, std::array<Qt::Alignment, 6> alignments, QObject* parent = nullptr);
    void setRows(std::vector<Row> rows);
    const std::vector<Row>& rows() const { return rows_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    std::array<const char*, 6> headers_;
    std::array<Qt::Alignment, 6> alignments_;
    std::vector<Row> rows_;
};

}  // namespace crv::main::qt
