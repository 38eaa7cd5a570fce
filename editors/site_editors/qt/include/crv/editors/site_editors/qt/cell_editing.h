#pragma once
// The editing family of the site editors' tables: one line editor laid over
// the current value cell, committed through the editor's checks before the
// current cell, a box or a command changes; Enter, the arrows, PageUp/Down and
// Ctrl+Home/End move between rows, Escape restores the text the edit began
// with, other keys pass through the field's key filter.
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

#include "crv/common/field_check.h"

class QAbstractItemModel;
class QLineEdit;
class QTableView;

namespace crv::common::ui {
class LatLonEdit;
}

namespace crv::editors {

class CellEditing : public QObject {
    Q_OBJECT
public:
    struct Hooks {
        std::function<int()> rows;
        int firstColumn = 1, lastColumn = 1;  // editable columns of the view
        // Checks and stores the text; false (after the check's message) when invalid.
        std::function<bool(int row, int column, std::string& text, const std::string& before)> commit;
        std::function<common::FieldCheck(int row, int column)> record;
        std::function<QString(int row, int column)> text;
        std::function<void()> typed;  // a key reached the editor
        // Enter moves across the columns before the next row (receiver points).
        bool enterMovesAcross = false;
    };
    CellEditing(QTableView* grid, Hooks hooks);

    // The editor of the current cell: a plain line, or the position box with
    // its hemisphere letter and fixed digit places for latitude and longitude.
    QLineEdit* editor() const { return editor_; }
    int row() const { return row_; }
    int column() const { return column_; }
    bool editing() const { return state_ == State::Editing; }
    bool invalid() const { return state_ == State::Invalid; }
    // Commits an open edit; false when its value is invalid (the editor then
    // keeps the focus).
    bool commit();
    // Makes a cell current and opens the editor over it.
    void moveTo(int row, int column);
    // Hides the editor and forgets the edit (after the data were shown anew).
    void reset();

signals:
    void beeped();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class State { Idle, Editing, Invalid };
    void place();
    void hideEditor(QLineEdit* editor);
    void begin();
    // Shows the editor the cell's record asks for and hides the other.
    void useEditorFor(const common::FieldCheck& record);
    void step(int rows, int columns);

    QTableView* grid_;
    Hooks hooks_;
    QLineEdit* plain_;
    common::ui::LatLonEdit* latitude_ = nullptr;
    common::ui::LatLonEdit* longitude_ = nullptr;
    QLineEdit* editor_;
    State state_ = State::Idle;
    int row_ = 0, column_ = 1;
    QString before_;
    bool moving_ = false;
};

}  // namespace crv::editors
