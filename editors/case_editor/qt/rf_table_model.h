#pragma once
// The RF-source table as a Qt model: one row per station, one column per
// table column (the hidden Dummy Value Flag column last), colours from the
// row flags, row headers with the tag mark.
#include <QAbstractTableModel>

#include "crv/editors/case_editor/rf_table_editor.h"

namespace crv::editors {

class RfTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit RfTableModel(RfTableEditor& editor, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // Everything may have changed (a load, a row operation).
    void reset();
    // One row's cells and header changed.
    void rowChanged(int row);
    // Header of the ERP column (it follows the service-volume type).
    void setErpHeader(const QString& header);

private:
    RfTableEditor& editor_;
    QString erpHeader_;
};

}  // namespace crv::editors
