#include "crv/editors/site_editors/qt/frm_user_data.h"

#include "editor_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QEventLoop>
#include <QFocusEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QRadioButton>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include "crv/common/ui/qt/table_rows.h"

namespace crv::editors {

namespace {
QString qt(const std::string& s) { return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size())); }
QString heading(const char* text) { return QString::fromLatin1(text).replace('\r', '\n'); }
}  // namespace

QVariant UserDataTable::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    if (role == Qt::DisplayRole)
        return index.column() == 0 ? qt(editor_.xText(index.row())) : qt(editor_.cellText(index.row()));
    if (role == Qt::TextAlignmentRole) return int(Qt::AlignCenter);
    // A value read from a file outside its range stands out until corrected.
    if (role == Qt::ForegroundRole && index.column() == 1 && editor_.cellInvalid(index.row())) return QColor(Qt::red);
    if (role == Qt::BackgroundRole && index.column() == 0) return QColor(0xF0, 0xF0, 0xF0);
    return {};
}

QVariant UserDataTable::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    const UserDataKind& k = editor_.kindInfo();
    return heading(section == 0 ? k.xHeading : k.valueHeading);
}

frmUserData::frmUserData(SiteEditorHost& host, bool patternMode, QWidget* parent)
    : QMainWindow(parent), host_(host), editor_(host, patternMode), table_(editor_) {
    grid_ = new QTableView;
    grid_->setModel(&table_);
    grid_->verticalHeader()->hide();
    grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    grid_->setObjectName("flxUserData");
    CellEditing::Hooks hooks;
    hooks.rows = [this] { return editor_.rows(); };
    hooks.commit = [this](int row, int, std::string& text, const std::string& before) {
        const bool ok = editor_.commitCell(row, text, before);
        if (ok) table_.refresh();
        return ok;
    };
    hooks.record = [this](int, int) {
        const ValueCell v = editor_.valueCell();
        common::FieldCheck r;
        r.kind = common::kFieldReal;
        r.width = static_cast<std::int16_t>(v.width);
        r.decimals = static_cast<std::int16_t>(v.decimals);
        return r;
    };
    hooks.text = [this](int row, int) { return qt(editor_.cellText(row)); };
    hooks.typed = [this] { editor_.noteTyping(); };
    cells_ = std::make_unique<CellEditing>(grid_, hooks);
    cells_->editor()->setObjectName("mskEditInCell");
    editor_.commitPending = [this] { return CommitEdit(); };

    auto* descFrame = new QGroupBox("Description");
    description_ = new QLineEdit;
    description_->setMaxLength(25);
    (new QVBoxLayout(descFrame))->addWidget(description_);
    gainFrame_ = new QGroupBox;
    gain_ = new QLineEdit;
    gain_->setMaxLength(4);
    auto* gainRow = new QHBoxLayout(gainFrame_);
    gainRow->addWidget(new QLabel("Main Beam Gain"));
    gainRow->addWidget(gain_);
    gainRow->addWidget(new QLabel("dBi"));
    for (QLineEdit* box : {description_, gain_}) box->installEventFilter(this);

    kindFrame_ = new QGroupBox(patternMode ? "Pattern Type" : "Calibration Type");
    auto* kindLayout = new QVBoxLayout(kindFrame_);
    for (int k = 1; k <= 5; ++k) {
        // Owned by the frame even when hidden (the other mode's kinds are
        // never laid out), so they go with the window.
        kinds_[static_cast<std::size_t>(k - 1)] = new QRadioButton(userDataKind(k).option, kindFrame_);
        if (isPatternKind(k) == patternMode)
            kindLayout->addWidget(kinds_[static_cast<std::size_t>(k - 1)]);
        else
            kinds_[static_cast<std::size_t>(k - 1)]->hide();
        connect(kinds_[static_cast<std::size_t>(k - 1)], &QRadioButton::clicked, this, [this, k] {
            if (!CommitEdit() || !editor_.changeKind(k)) {
                kindOption(editor_.kind())->setChecked(true);
                kindOption(editor_.kind())->setFocus();
                return;
            }
            SetUpForm();
            ShowData();
        });
    }
    scaleFrame_ = new QGroupBox("Scale");
    auto* scaleLayout = new QVBoxLayout(scaleFrame_);
    for (int s = 0; s < 2; ++s) {
        scales_[static_cast<std::size_t>(s)] = new QRadioButton(s == 0 ? "Linear" : "Decibels");
        scaleLayout->addWidget(scales_[static_cast<std::size_t>(s)]);
        connect(scales_[static_cast<std::size_t>(s)], &QRadioButton::clicked, this, [this, s] {
            if (!CommitEdit()) {
                scaleOption(editor_.scale())->setChecked(true);
                return;
            }
            editor_.changeScale(s);
            SetUpForm();
            ShowData();
        });
    }
    scaleFrame_->setVisible(patternMode);

    auto* side = new QVBoxLayout;
    side->addWidget(descFrame);
    side->addWidget(gainFrame_);
    side->addWidget(kindFrame_);
    side->addWidget(scaleFrame_);
    side->addStretch();
    auto* central = new QWidget;
    auto* top = new QHBoxLayout(central);
    // The table shows whole rows only; what is left of its height stays empty below it.
    auto* gridColumn = new QVBoxLayout;
    gridColumn->addWidget(grid_, 1);
    gridColumn->addStretch(0);
    top->addLayout(gridColumn, 3);
    top->addLayout(side, 2);
    setCentralWidget(central);
    common::ui::keepWholeRows(grid_, central);

    QMenu* file = menuBar()->addMenu("&File");
    auto add = [this](QMenu* menu, const QString& text, const char* name, const std::function<void()>& run) {
        return detail::addCommand(this, menu, text, name, run);
    };
    add(file, "&New", "mnuNew", [this] { runCommand(&UserDataEditor::New); });
    add(file, "&Open...", "mnuOpen", [this] { runCommand(&UserDataEditor::Open); });
    add(file, "&Save...", "mnuSave", [this] { runCommand(&UserDataEditor::Save); });
    file->addSeparator();
    add(file, "E&xit", "mnuExit", [this] {
        if (CommitEdit() && editor_.Exit()) close();
    });
    add(nullptr, "&Normalize", "mnuNormalize", [this] {
        runCommand(&UserDataEditor::Normalize);
    })->setVisible(patternMode);
    add(nullptr, "&Plot", "mnuPlot", [this] { runCommand(&UserDataEditor::Plot); })->setVisible(patternMode);
    add(nullptr, "&Help", "mnuHelp", [this] { host_.showHelp(editor_.helpTopic()); });

    SetUpForm();
    ShowData();
    resize(640, 520);
}

frmUserData::~frmUserData() = default;

QAction* frmUserData::action(const QString& name) const { return findChild<QAction*>(name); }

void frmUserData::SetUpForm() {
    gainFrame_->setVisible(editor_.gainShown());
    table_.refresh();
}

void frmUserData::ShowData() {
    cells_->reset();
    kindOption(editor_.kind())->setChecked(true);
    scaleOption(editor_.scale())->setChecked(true);
    setWindowTitle(qt(editor_.caption()));
    description_->setText(qt(editor_.descriptionText()));
    gain_->setText(qt(editor_.gainText()));
    table_.refresh();
    cells_->moveTo(0, 1);
}

void frmUserData::runCommand(bool (UserDataEditor::*command)()) {
    if (!CommitEdit()) return;
    if ((editor_.*command)()) {
        SetUpForm();
        ShowData();
    } else {
        setWindowTitle(qt(editor_.caption()));
    }
}

bool frmUserData::commitBox(QLineEdit* box) {
    std::string text = box->text().toLatin1().toStdString();
    const std::string before = boxBefore_.toLatin1().toStdString();
    const bool ok = box == description_ ? editor_.commitDescription(text, before) : editor_.commitGain(text, before);
    if (!ok) {
        boxInvalid_ = true;
        box->setFocus();
        return false;
    }
    box->setText(qt(text));
    boxInvalid_ = false;
    activeBox_ = nullptr;
    return true;
}

bool frmUserData::CommitEdit() {
    if (activeBox_ && !commitBox(activeBox_)) return false;
    return cells_->commit();
}

bool frmUserData::eventFilter(QObject* watched, QEvent* event) {
    auto* box = qobject_cast<QLineEdit*>(watched);
    if (box && (box == description_ || box == gain_)) {
        if (event->type() == QEvent::FocusIn && activeBox_ != box) {
            if (!CommitEdit()) return false;
            activeBox_ = box;
            boxBefore_ = box->text();
            box->selectAll();
        } else if (event->type() == QEvent::KeyPress) {
            if (detail::textBoxKey(static_cast<QKeyEvent*>(event), box, boxBefore_, [&] { return commitBox(box); }))
                return true;
            editor_.noteTyping();
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmUserData::closeEvent(QCloseEvent* event) {
    if (detail::closeAsExit(event, editor_.closed(), closing_, [this] { return CommitEdit() && editor_.Exit(); }))
        emit finished();
}

namespace {
void runEditor(SiteEditorHost& host, bool patternMode, QWidget* mainWindow,
               const std::function<void(frmUserData&)>& script) {
    frmUserData window(host, patternMode);
    detail::runUntilFinished(window, mainWindow, script);
}
}  // namespace

void EditRadiationPattern(SiteEditorHost& host, QWidget* mainWindow, const std::function<void(frmUserData&)>& script) {
    runEditor(host, true, mainWindow, script);
}

void EditCalibrationData(SiteEditorHost& host, QWidget* mainWindow, const std::function<void(frmUserData&)>& script) {
    runEditor(host, false, mainWindow, script);
}

}  // namespace crv::editors
