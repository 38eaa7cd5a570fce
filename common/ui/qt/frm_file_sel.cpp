#include "crv/common/ui/qt/frm_file_sel.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QHelpEvent>
#include <QItemSelectionModel>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QSplitter>
#include <QStyle>
#include <QToolTip>
#include <QTreeView>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "crv/common/text_utils.h"
#include "crv/common/ui/qt/dialog_buttons.h"
#include "crv/common/ui/qt/form_services.h"
#include "crv/common/ui/qt/help.h"
#include "crv/common/ui/qt/message_presenter.h"

static void initDialogsHelp() { Q_INIT_RESOURCE(dialogs_help); }

namespace crv::common::ui {

namespace {

constexpr int kPathRole = Qt::UserRole;
constexpr int kToolTipMs = 5000;
// Kind 4's column widths: 2280 and 840 twips at 15 twips a pixel.
constexpr int kDescriptionWidth4 = 152;
constexpr int kSizeWidth4 = 56;

std::string toPath(const QString& s) { return QFile::encodeName(s).toStdString(); }
QString fromPath(const std::string& s) { return QFile::decodeName(QByteArray::fromStdString(s)); }

// Where a folder goes among its listed brothers: by name regardless of case,
// as the listing sorts them.
int sortedPosition(QTreeWidgetItem* parent, const QString& name) {
    int i = 0;
    while (i < parent->childCount() && parent->child(i)->text(0).compare(name, Qt::CaseInsensitive) <= 0) ++i;
    return i;
}

QTreeWidgetItem* folderItem(const QString& name, const QString& path) {
    auto* item = new QTreeWidgetItem(QStringList{name});
    item->setData(0, kPathRole, path);
    item->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
    return item;
}

}  // namespace

frmFileSel::frmFileSel(const crv::common::AppState& state, crv::common::MessagePresenter* presenter, QWidget* parent)
    : QDialog(parent), model_(state), list_(model_), presenter_(presenter) {
    initDialogsHelp();  // the help window lists the pages it finds
    ftvFolder_ = new QTreeWidget(this);
    ftvFolder_->setHeaderHidden(true);
    ftvFolder_->setColumnCount(1);
    ftvFolder_->setMinimumWidth(120);
    auto* root = new QTreeWidgetItem(ftvFolder_, {QStringLiteral("/")});
    root->setData(0, kPathRole, QStringLiteral("/"));
    root->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
    connect(ftvFolder_, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem* item) { populate(item); });
    connect(ftvFolder_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (item) folderSelected(item->data(0, kPathRole).toString());
    });

    lblContents_ = new QLabel(this);
    lblContents_->setMinimumWidth(160);
    lvwFiles_ = new QTreeView(this);
    lvwFiles_->setModel(&list_);
    lvwFiles_->setRootIsDecorated(false);
    lvwFiles_->setUniformRowHeights(true);  // a folder of thousands of files
    lvwFiles_->setAllColumnsShowFocus(true);
    lvwFiles_->setSelectionBehavior(QAbstractItemView::SelectRows);
    lvwFiles_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lvwFiles_->setMinimumWidth(200);
    lvwFiles_->header()->setSectionsClickable(true);
    lvwFiles_->header()->setSortIndicatorShown(true);
    lvwFiles_->header()->setStretchLastSection(false);
    lvwFiles_->viewport()->installEventFilter(this);
    lblContents_->setBuddy(lvwFiles_);
    connect(lvwFiles_->header(), &QHeaderView::sectionClicked, this, [this](int s) { headerClicked(s); });
    connect(lvwFiles_, &QTreeView::doubleClicked, this, [this](const QModelIndex& i) {
        if (i.isValid()) accept();
    });

    auto* right = new QWidget(this);
    auto* rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    rightLayout->addWidget(lblContents_);
    rightLayout->addWidget(lvwFiles_, 1);

    splitter_ = new QSplitter(Qt::Horizontal, this);
    splitter_->addWidget(ftvFolder_);
    splitter_->addWidget(right);
    splitter_->setChildrenCollapsible(false);
    splitter_->setStretchFactor(1, 1);
    splitter_->setSizes({200, 600});
    splitter_->handle(1)->installEventFilter(this);

    cboFileTypes_ = new QComboBox(this);
    cboFileTypes_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    connect(cboFileTypes_, &QComboBox::currentIndexChanged, this, [this](int i) { typeChosen(i); });
    auto* buttons = new DialogButtons(Qt::Horizontal, DialogButtons::Space::None, this);
    cmdOK_ = buttons->add(new QPushButton(tr("OK"), this), QDialogButtonBox::AcceptRole);
    cmdCancel_ = buttons->add(new QPushButton(tr("Cancel"), this), QDialogButtonBox::RejectRole);
    cmdHelp_ = buttons->add(new QPushButton(tr("Help"), this), QDialogButtonBox::HelpRole);
    cmdOK_->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &frmFileSel::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &frmFileSel::reject);
    connect(buttons, &QDialogButtonBox::helpRequested, this, [] {
        initDialogsHelp();
        showHelp(QStringLiteral("file_browser"));
    });

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(cboFileTypes_, 1);
    bottom->addSpacing(12);
    bottom->addWidget(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(splitter_, 1);
    layout->addLayout(bottom);
    setMinimumSize(480, 300);
    resize(sizeHint());
}

void frmFileSel::ShowFiles(int Kind, bool Reload) {
    loading_ = true;
    const std::string folder = model_.start(Kind, Reload);
    setUpKind();
    const bool reload = model_.reloading() && !savedGeometry_.isEmpty();
    if (reload) {
        restoreGeometry(savedGeometry_);
        splitter_->restoreState(savedSplitter_);
    } else {
        PlaceForm(this);  // sized to sizeHint() and placed over the main window
    }
    cboFileTypes_->setCurrentIndex(model_.typeIndex());
    refreshTree(ftvFolder_->topLevelItem(0));
    selectFolder(fromPath(crv::common::RemoveBackslash(folder)));
    if (reload) {
        for (int c = 0; c < savedWidths_.size() && c < list_.columnCount(); ++c)
            lvwFiles_->setColumnWidth(c, savedWidths_[c]);
    } else {
        defaultColumnWidths();
        widthsPending_ = true;  // again once the list has its final width on screen
    }
    model_.opened();
    loading_ = false;
    if (run_)
        run_(*this);
    else
        exec();
}

void frmFileSel::setUpKind() {
    const KindSetup& setup = kindSetup(model_.FileKind());
    setWindowTitle(QString::fromStdString(setup.caption));
    const QSignalBlocker block(cboFileTypes_);
    cboFileTypes_->clear();
    for (const FileType& t : setup.types) cboFileTypes_->addItem(QString::fromStdString(t.label));
    lvwFiles_->setSelectionMode(setup.multiple ? QAbstractItemView::ExtendedSelection
                                               : QAbstractItemView::SingleSelection);
}

void frmFileSel::defaultColumnWidths() {
    if (layout()) layout()->activate();
    // The viewport is sized only when the list is shown; its width follows from the list's.
    const int width = std::max(
        200, lvwFiles_->width() - 2 * lvwFiles_->frameWidth() - style()->pixelMetric(QStyle::PM_ScrollBarExtent) - 8);
    const int columns = list_.columnCount();
    const QFontMetrics fm(lvwFiles_->header()->font());
    if (model_.FileKind() == 4 && columns == 3) {
        // The plot list: a fixed size column, a wide description, the name in what is left.
        // At least what the heading needs with its sort arrow: the size heading shows whole.
        const int sizeWidth = std::max({kSizeWidth4, fm.horizontalAdvance(QStringLiteral("Size (byt)")) + 28,
                                        lvwFiles_->header()->sectionSizeHint(2)});
        const int descriptionWidth = std::max(kDescriptionWidth4, width * 9 / 20);
        lvwFiles_->setColumnWidth(1, descriptionWidth);
        lvwFiles_->setColumnWidth(2, sizeWidth);
        lvwFiles_->setColumnWidth(0, std::max(80, width - descriptionWidth - sizeWidth));
        return;
    }
    if (columns == 3 && model_.FileKind() <= 2) {
        // Case files: the name, then date and time and size at the width they need.
        const int sizeWidth =
            std::max(fm.horizontalAdvance(QStringLiteral("Size (byt)")) + 28, lvwFiles_->header()->sectionSizeHint(2));
        const int dateWidth = fm.horizontalAdvance(QStringLiteral("00/00/00  00:00 pm")) + 28;
        lvwFiles_->setColumnWidth(1, dateWidth);
        lvwFiles_->setColumnWidth(2, sizeWidth);
        lvwFiles_->setColumnWidth(0, std::max(80, width - dateWidth - sizeWidth));
        return;
    }
    // Name, description, then a date (or, for plots listed under the reports'
    // kind, a size) as wide as it and its heading need.
    const int dateWidth = std::max(fm.horizontalAdvance(QStringLiteral("00/00/00")) + 28,
                                   columns > 2 ? lvwFiles_->header()->sectionSizeHint(2) : 0);
    const int nameWidth = std::max(80, (width - dateWidth) * 2 / 5);
    lvwFiles_->setColumnWidth(0, nameWidth);
    lvwFiles_->setColumnWidth(1, std::max(80, width - dateWidth - nameWidth));
    if (columns > 2) lvwFiles_->setColumnWidth(2, dateWidth);
}

QSize frmFileSel::sizeHint() const { return {800, 480}; }

QTreeWidgetItem* frmFileSel::itemFor(const QString& path) {
    QTreeWidgetItem* item = ftvFolder_->topLevelItem(0);
    const QStringList parts = path.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (const QString& part : parts) {
        populate(item);
        QTreeWidgetItem* next = nullptr;
        for (int i = 0; i < item->childCount() && !next; ++i)
            if (item->child(i)->text(0) == part) next = item->child(i);
        if (!next) {
            // A hidden folder on the way is shown when it is asked for.
            const QString full = item->data(0, kPathRole)
                                     .toString()
                                     .chopped(item->data(0, kPathRole).toString().endsWith(QLatin1Char('/')) ? 1 : 0) +
                                 QLatin1Char('/') + part;
            if (!QFileInfo(full).isDir()) break;  // the deepest folder that exists
            next = folderItem(part, full);
            item->insertChild(sortedPosition(item, part), next);
        }
        item->setExpanded(true);
        item = next;
    }
    return item;
}

// Lists the folder's sub-folders as they are now: folders made since the last
// look are added in order, folders gone are dropped, the rest (and what is
// open below them) stay. Runs each time a folder is opened.
void frmFileSel::populate(QTreeWidgetItem* item) {
    if (!item) return;
    item->setData(0, kPathRole + 1, true);
    QString base = item->data(0, kPathRole).toString();
    if (!base.endsWith(QLatin1Char('/'))) base += QLatin1Char('/');
    const QStringList dirs = QDir(base).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    const QSignalBlocker block(ftvFolder_);
    for (int i = item->childCount() - 1; i >= 0; --i) {
        QTreeWidgetItem* child = item->child(i);
        // A hidden folder shown because it was asked for stays while it exists.
        if (!dirs.contains(child->text(0)) && !QFileInfo(child->data(0, kPathRole).toString()).isDir())
            delete item->takeChild(i);
    }
    for (const QString& d : dirs) {
        bool listed = false;
        for (int i = 0; i < item->childCount() && !listed; ++i) listed = item->child(i)->text(0) == d;
        if (!listed) item->insertChild(sortedPosition(item, d), folderItem(d, base + d));
    }
    item->setChildIndicatorPolicy(item->childCount() == 0 ? QTreeWidgetItem::DontShowIndicatorWhenChildless
                                                          : QTreeWidgetItem::ShowIndicator);
}

// Every folder listed before is listed again, each time the browser is shown.
void frmFileSel::refreshTree(QTreeWidgetItem* item) {
    if (!item || !item->data(0, kPathRole + 1).toBool()) return;
    populate(item);
    for (int i = 0; i < item->childCount(); ++i) refreshTree(item->child(i));
}

void frmFileSel::selectFolder(const QString& path) {
    QTreeWidgetItem* item = itemFor(path.isEmpty() ? QStringLiteral("/") : path);
    {
        const QSignalBlocker block(ftvFolder_);
        ftvFolder_->setCurrentItem(item);
    }
    ftvFolder_->scrollToItem(item);
    folderSelected(item->data(0, kPathRole).toString());
}

void frmFileSel::folderSelected(const QString& path) {
    model_.selectFolder(toPath(path));
    showList();
}

void frmFileSel::showHeading() {
    const QFontMetricsF fm(lblContents_->font());
    const auto measure = [&fm](std::string_view s) {
        return fm.horizontalAdvance(QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())));
    };
    const std::string folder = crv::common::RemoveBackslash(model_.SelPath());
    const double width = std::max(40, lblContents_->width() - 4);
    lblContents_->setText(
        tr("&Contents of") + QLatin1Char('\n') +
        QString::fromStdString(crv::common::ShortenPath(measure, folder.empty() ? "/" : folder, width)));
    lblContents_->setToolTip(fromPath(folder));
}

void frmFileSel::showList() {
    list_.refresh();
    showHeading();
    const auto columns = model_.columns();
    for (std::size_t c = 0; c < columns.size(); ++c)
        if (columns[c] == model_.sortColumn() ||
            (model_.sortColumn() == BrowserColumn::Date && columns[c] == BrowserColumn::DateTime))
            lvwFiles_->header()->setSortIndicator(static_cast<int>(c),
                                                  model_.sortAscending() ? Qt::AscendingOrder : Qt::DescendingOrder);
    const int row = model_.initialRow();
    if (row < 0) return;
    const QModelIndex index = list_.index(row, 0);
    lvwFiles_->selectionModel()->setCurrentIndex(index,
                                                 QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    lvwFiles_->scrollTo(index);
}

void frmFileSel::typeChosen(int index) {
    if (loading_ || index < 0) return;
    if (model_.setTypeIndex(index)) {
        showList();
        defaultColumnWidths();  // the kind's own columns
    } else {
        showList();
    }
}

void frmFileSel::headerClicked(int section) {
    const auto columns = model_.columns();
    if (section < 0 || section >= static_cast<int>(columns.size())) return;
    // The selection follows its files, not its row numbers.
    std::vector<std::string> selected;
    for (int r : selectedRows()) selected.push_back(model_.items()[static_cast<std::size_t>(r)].name);
    const QString current =
        lvwFiles_->currentIndex().isValid()
            ? list_.data(list_.index(lvwFiles_->currentIndex().row(), 0), Qt::DisplayRole).toString()
            : QString();
    model_.columnClicked(columns[static_cast<std::size_t>(section)]);
    list_.refresh();
    lvwFiles_->header()->setSortIndicator(section, model_.sortAscending() ? Qt::AscendingOrder : Qt::DescendingOrder);
    QItemSelection selection;
    const auto& items = model_.items();
    for (std::size_t r = 0; r < items.size(); ++r) {
        if (std::find(selected.begin(), selected.end(), items[r].name) != selected.end())
            selection.select(list_.index(static_cast<int>(r), 0),
                             list_.index(static_cast<int>(r), list_.columnCount() - 1));
        if (fromPath(items[r].name) == current)
            lvwFiles_->selectionModel()->setCurrentIndex(list_.index(static_cast<int>(r), 0),
                                                         QItemSelectionModel::NoUpdate);
    }
    lvwFiles_->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
}

QList<int> frmFileSel::selectedRows() const {
    QList<int> rows;
    for (const QModelIndex& i : lvwFiles_->selectionModel()->selectedRows()) rows << i.row();
    std::sort(rows.begin(), rows.end());
    return rows;
}

QStringList frmFileSel::listedNames() const {
    QStringList names;
    for (int r = 0; r < list_.rowCount(); ++r) names << list_.data(list_.index(r, 0), Qt::DisplayRole).toString();
    return names;
}

void frmFileSel::saveState() {
    const QList<int> rows = selectedRows();
    model_.saveState(rows.isEmpty() ? -1 : rows.front());
    savedGeometry_ = saveGeometry();
    savedSplitter_ = splitter_->saveState();
    savedWidths_.clear();
    for (int c = 0; c < list_.columnCount(); ++c) savedWidths_ << lvwFiles_->columnWidth(c);
}

void frmFileSel::accept() {
    const QList<int> rows = selectedRows();
    if (!model_.accept(std::vector<int>(rows.begin(), rows.end()))) {
        crv::common::MessagePresenter& presenter = presenter_ ? *presenter_ : appPresenter();
        const auto answer =
            presenter.present({" No file selected.  Do you wish to try again? ", "Warning",
                               crv::common::MessageIcon::Exclamation, crv::common::MessageButtons::RetryCancel});
        if (answer == crv::common::MessageAnswer::Retry) return;
        saveState();
        model_.cancel();
        QDialog::reject();
        return;
    }
    saveState();
    QDialog::accept();
}

void frmFileSel::reject() {
    // Esc while the splitter is dragged puts it back and leaves the browser open.
    if (dragging_) {
        splitter_->setSizes(dragStart_);
        dragging_ = false;
        splitter_->handle(1)->releaseMouse();
        return;
    }
    // Cancel, Esc and the close box all end here.
    saveState();
    model_.cancel();
    QDialog::reject();
}

bool frmFileSel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == splitter_->handle(1)) {
        if (event->type() == QEvent::MouseButtonPress && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            dragging_ = true;
            dragStart_ = splitter_->sizes();
        } else if (event->type() == QEvent::MouseButtonRelease &&
                   static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            dragging_ = false;
        }
        return false;
    }
    if (watched == lvwFiles_->viewport() && event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const QModelIndex index = lvwFiles_->indexAt(help->pos());
        const QString tip = index.isValid() ? list_.data(index, Qt::ToolTipRole).toString() : QString();
        if (tip.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), tip, lvwFiles_->viewport(), lvwFiles_->visualRect(index), kToolTipMs);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void frmFileSel::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (widthsPending_) {
        widthsPending_ = false;
        const int total = splitter_->width() - splitter_->handleWidth();
        splitter_->setSizes({total * 3 / 10, total - total * 3 / 10});
        defaultColumnWidths();
    }
    showHeading();
}

void frmFileSel::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    if (!model_.SelPath().empty()) showHeading();
}

}  // namespace crv::common::ui
