#pragma once
// The list view of the selection dialogs: whole-row selection, no tree
// decoration, header clicks reported, sized to its columns and to 16 rows.
#include <QTreeView>

namespace crv::main::qt {

class SelectionList : public QTreeView {
    Q_OBJECT
public:
    explicit SelectionList(QWidget* parent = nullptr);
    // Fits the columns to their texts and the view to the columns: the
    // column span, the frame, and a scroll bar's width when more than
    // `visibleRows` items do not fit; the height shows the header and
    // `visibleRows` rows.
    void sizeToList(int visibleRows = 16);
    int selectedRow() const;
    void selectRow(int row);

signals:
    void headerClicked(int column);
    void activatedRow();

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace crv::main::qt
