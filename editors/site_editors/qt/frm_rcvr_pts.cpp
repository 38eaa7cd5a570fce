#include "crv/editors/site_editors/qt/frm_rcvr_pts.h"

#include "editor_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QRadioButton>
#include <QScrollBar>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include "crv/common/text_utils.h"
#include "crv/common/ui/qt/lat_lon_options.h"
#include "crv/common/ui/qt/table_rows.h"

namespace crv::editors {

namespace {
QString qt(const std::string& s) { return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size())); }
}  // namespace

QVariant RcvrPointsTable::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    if (role == Qt::DisplayRole) {
        if (index.column() == 0) return qt(common::FormatField(index.row() + 1, 4, 0));
        return qt(editor_.cellText(index.row(), index.column()));
    }
    if (role == Qt::TextAlignmentRole) return int(Qt::AlignCenter);
    if (role == Qt::ForegroundRole && index.column() > 0 && editor_.rowInvalid(index.row())) return QColor(Qt::red);
    if (role == Qt::BackgroundRole && index.column() == 0) return QColor(0xF0, 0xF0, 0xF0);
    return {};
}

QVariant RcvrPointsTable::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    return section == 0 ? QString() : qt(editor_.heading(section));
}

frmRcvrPts::frmRcvrPts(SiteEditorHost& host, QWidget* parent)
    : QMainWindow(parent), host_(host), editor_(host), table_(editor_) {
    grid_ = new QTableView;
    grid_->setObjectName("flxUserData");
    grid_->setModel(&table_);
    grid_->verticalHeader()->hide();
    CellEditing::Hooks hooks;
    hooks.rows = [] { return RcvrPointsEditor::kRows; };
    hooks.firstColumn = 1;
    hooks.lastColumn = 3;
    hooks.enterMovesAcross = true;
    hooks.commit = [this](int row, int column, std::string& text, const std::string& before) {
        const bool ok = editor_.commitCell(row, column, text, before);
        if (ok) table_.refreshRow(row);
        return ok;
    };
    hooks.record = [this](int, int column) { return editor_.columnRecord(column); };
    hooks.text = [this](int row, int column) { return qt(editor_.cellText(row, column)); };
    hooks.typed = [this] { editor_.noteTyping(); };
    cells_ = std::make_unique<CellEditing>(grid_, hooks);
    cells_->editor()->setObjectName("mskEditInCell");
    editor_.commitPending = [this] { return CommitEdit(); };

    auto* descFrame = new QGroupBox("Description");
    description_ = new QLineEdit;
    description_->setObjectName("txtEditBox");
    description_->setMaxLength(25);
    description_->installEventFilter(this);
    (new QVBoxLayout(descFrame))->addWidget(description_);

    auto* posFrame = new QGroupBox("Position Format");
    auto* posLayout = new QVBoxLayout(posFrame);
    positions_[0] = new QRadioButton("Range (nmi) and Bearing (deg)");
    positions_[1] = new QRadioButton("Latitude and Longitude");
    for (auto* b : positions_) {
        posLayout->addWidget(b);
        connect(b, &QRadioButton::clicked, this, &frmRcvrPts::formatClicked);
    }
    notationFrame_ = common::ui::LatLonFormatOptions(QString(), notations_, [this](int) { formatClicked(); });
    posLayout->addWidget(notationFrame_);

    auto* side = new QVBoxLayout;
    side->addWidget(descFrame);
    side->addWidget(posFrame);
    side->addStretch();
    auto* central = new QWidget;
    auto* top = new QHBoxLayout(central);
    // The table shows whole rows only; what is left of its height stays empty below it.
    auto* gridColumn = new QVBoxLayout;
    gridColumn->addWidget(grid_, 1);
    gridColumn->addStretch(0);
    top->addLayout(gridColumn);
    top->addLayout(side, 1);
    setCentralWidget(central);
    common::ui::keepWholeRows(grid_, central);

    QMenu* file = menuBar()->addMenu("&File");
    auto add = [this](QMenu* menu, const QString& text, const char* name, const std::function<void()>& run) {
        return detail::addCommand(this, menu, text, name, run);
    };
    add(file, "&New", "mnuNew", [this] { runCommand(&RcvrPointsEditor::New); });
    add(file, "&Open...", "mnuOpen", [this] { runCommand(&RcvrPointsEditor::Open); });
    add(file, "&Import...", "mnuImport", [this] { runCommand(&RcvrPointsEditor::Import); });
    add(file, "&Save...", "mnuSave", [this] { runCommand(&RcvrPointsEditor::Save); });
    file->addSeparator();
    add(file, "E&xit", "mnuExit", [this] {
        if (CommitEdit() && editor_.Exit()) close();
    });
    add(nullptr, "&Help", "mnuHelp", [this] { host_.showHelp("receiver_points"); });

    SetUpForm();
    ShowData();
    resize(760, 560);
}

frmRcvrPts::~frmRcvrPts() = default;

QAction* frmRcvrPts::action(const QString& name) const { return findChild<QAction*>(name); }

void frmRcvrPts::SetUpForm() {
    table_.refresh();
    // Every column as wide as its heading plus six pixels; the row numbers as " 9999 ".
    const QFontMetrics fm = grid_->fontMetrics();
    grid_->setColumnWidth(0, fm.horizontalAdvance(" 9999 ") + 6);
    for (int c = 1; c <= 3; ++c) {
        const int text = std::max(fm.horizontalAdvance(qt(editor_.heading(c))),
                                  fm.horizontalAdvance(c < 3 ? QString("W 077\xB0 00' 00\"   ") : QString("99999")));
        grid_->setColumnWidth(c, text + 6);
    }
    // The table is as wide as its columns; the option frames stand beside it.
    int width = 2 * grid_->frameWidth() + grid_->verticalScrollBar()->sizeHint().width();
    for (int c = 0; c <= 3; ++c) width += grid_->columnWidth(c);
    grid_->setFixedWidth(width);
}

void frmRcvrPts::ShowData() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    cells_->reset();
    const int f = editor_.format();
    positions_[f == 0 ? 0 : 1]->setChecked(true);
    for (int i = 1; i <= 3; ++i) {
        notationOption(i)->setEnabled(f != 0);
        if (f == i) notationOption(i)->setChecked(true);
    }
    setWindowTitle(qt(editor_.caption()));
    description_->setText(qt(editor_.descriptionText()));
    table_.refresh();
    cells_->moveTo(0, 1);
    QApplication::restoreOverrideCursor();
}

void frmRcvrPts::formatClicked() {
    if (!CommitEdit()) {
        ShowData();
        return;
    }
    int format = 0;
    if (positions_[1]->isChecked()) {
        format = 1;
        for (int i = 1; i <= 3; ++i)
            if (notationOption(i)->isChecked()) format = i;
    }
    if (format == editor_.format()) return;
    editor_.changeFormat(format);
    SetUpForm();
    ShowData();
}

void frmRcvrPts::runCommand(bool (RcvrPointsEditor::*command)()) {
    if (!CommitEdit()) return;
    if ((editor_.*command)()) {
        SetUpForm();
        ShowData();
    } else {
        setWindowTitle(qt(editor_.caption()));
    }
}

bool frmRcvrPts::commitDescription() {
    std::string text = description_->text().toLatin1().toStdString();
    editor_.commitDescription(text, descriptionBefore_.toLatin1().toStdString());
    descriptionActive_ = false;
    return true;
}

bool frmRcvrPts::CommitEdit() {
    if (descriptionActive_) commitDescription();
    return cells_->commit();
}

bool frmRcvrPts::eventFilter(QObject* watched, QEvent* event) {
    if (watched == description_) {
        if (event->type() == QEvent::FocusIn && !descriptionActive_) {
            if (!cells_->commit()) return false;
            descriptionActive_ = true;
            descriptionBefore_ = description_->text();
        } else if (event->type() == QEvent::KeyPress) {
            if (detail::textBoxKey(static_cast<QKeyEvent*>(event), description_, descriptionBefore_,
                                   [this] { return commitDescription(); }))
                return true;
            editor_.noteTyping();
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmRcvrPts::closeEvent(QCloseEvent* event) {
    if (detail::closeAsExit(event, editor_.closed(), closing_, [this] { return CommitEdit() && editor_.Exit(); }))
        emit finished();
}

void EditRcvrTestPts(SiteEditorHost& host, QWidget* mainWindow, const std::function<void(frmRcvrPts&)>& script) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    frmRcvrPts window(host);
    QApplication::restoreOverrideCursor();
    detail::runUntilFinished(window, mainWindow, script);
}

}  // namespace crv::editors
