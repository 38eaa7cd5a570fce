#include "crv/common/ui/qt/frm_paths.h"

#include "crv/common/ui/qt/os_services.h"

#include <memory>

#include <QCheckBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "crv/common/text_utils.h"
#include "crv/common/ui/qt/dialog_buttons.h"
#include "crv/common/ui/qt/form_services.h"
#include "crv/common/ui/qt/help.h"

static void initDialogsHelp() { Q_INIT_RESOURCE(dialogs_help); }

namespace crv::common::ui {

namespace {

QString qs(const std::string& s) { return QString::fromStdString(s); }

// The common folder question, so one seam scripts it everywhere.
std::string chooseFolder(QWidget* parent, const std::string& title, const std::string& start) {
    return BrowseForFolder(parent, qs(title), qs(start)).toStdString();
}

std::string chooseFile(QWidget* parent, const std::string& title, const std::string& folder,
                       const std::string& fileName) {
    const std::unique_ptr<QFileDialog> dialog = makeDatabaseFileDialog(parent, title, folder, fileName);
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty()) return {};
    return dialog->selectedFiles().front().toStdString();
}

}  // namespace

std::unique_ptr<QFileDialog> makeDatabaseFileDialog(QWidget* parent, const std::string& title,
                                                    const std::string& folder, const std::string& fileName) {
    auto dialog = std::make_unique<QFileDialog>(parent, qs(title), qs(folder));
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setOption(QFileDialog::ReadOnly);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setFileMode(QFileDialog::ExistingFile);  // the file must exist
    // Database files come as "FMALL.dat" or "fmall.DAT": the filter ignores letter case.
    dialog->setFilter(dialog->filter() & ~QDir::CaseSensitive);
    dialog->setNameFilters({QStringLiteral("Data Files (*.dat)"), QStringLiteral("All Files (*)")});
    if (!fileName.empty()) dialog->selectFile(qs(fileName));
    fitFileDialog(dialog.get());
    return dialog;
}

PathLabel::PathLabel(QWidget* parent) : QWidget(parent) { setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed); }

void PathLabel::setPath(const std::string& path) {
    path_ = path;
    setToolTip(qs(path));
    update();
}

QString PathLabel::shownText() const {
    const QFontMetricsF fm(font());
    const auto measure = [&fm](std::string_view s) {
        return fm.horizontalAdvance(QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())));
    };
    return qs(crv::common::ShortenPath(measure, path_, std::max(0, width() - 4)));
}

QSize PathLabel::sizeHint() const { return {360, fontMetrics().height() + 6}; }
QSize PathLabel::minimumSizeHint() const { return {120, fontMetrics().height() + 6}; }

void PathLabel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawText(rect().adjusted(2, 0, -2, 0), Qt::AlignLeft | Qt::AlignVCenter, shownText());
}

frmPaths::frmPaths(crv::common::AppState& state, crv::platform::SettingsStore& store,
                   crv::common::RecentFilesMenu* menu, crv::common::MessagePresenter& presenter, PathChoosers choosers,
                   QWidget* parent)
    : QDialog(parent),
      model_(state),
      store_(store),
      menu_(menu),
      presenter_(presenter),
      choosers_(std::move(choosers)) {
    if (!choosers_.folder) choosers_.folder = chooseFolder;
    if (!choosers_.file) choosers_.file = chooseFile;
    initDialogsHelp();  // the help window lists the pages it finds
    setWindowTitle(QStringLiteral(" Location of CRV Files"));

    tabs_ = new QTabWidget(this);
    QWidget* pages[2] = {new QWidget, new QWidget};
    QVBoxLayout* pageLayouts[2] = {new QVBoxLayout(pages[0]), new QVBoxLayout(pages[1])};
    for (int i = 0; i < kPathCount; ++i) {
        const int page = PathsModel::isFolder(i) ? 1 : 0;
        auto* frame = new QGroupBox(qs(PathsModel::frameCaption(i)), pages[page]);
        auto* row = new QHBoxLayout(frame);
        auto* label = new PathLabel(frame);
        auto* button = new QPushButton(tr("Change..."), frame);
        labels_[static_cast<std::size_t>(i)] = label;
        change_[static_cast<std::size_t>(i)] = button;
        if (!PathsModel::isFolder(i)) {
            auto* box = new QCheckBox(frame);
            box->setToolTip(tr("Use this database"));
            use_[static_cast<std::size_t>(i)] = box;
            row->addWidget(box);
            // The box shows the model; a click goes to the model, which may refuse it.
            connect(box, &QCheckBox::clicked, this, [this, i] {
                model_.clickUse(i);
                showModel();
            });
        }
        row->addWidget(label, 1);
        row->addWidget(button);
        // The frame caption's "&" letter takes the focus to the frame's first control.
        connect(button, &QPushButton::clicked, this, [this, i] { changePath(i); });
        pageLayouts[page]->addWidget(frame);
    }
    for (auto* l : pageLayouts) l->addStretch(1);
    tabs_->addTab(pages[0], tr("Database Files"));
    tabs_->addTab(pages[1], tr("CRV Folders"));
    tabs_->setCurrentIndex(0);

    auto* buttons = new DialogButtons(Qt::Horizontal, DialogButtons::Space::Before, this);
    ok_ = buttons->add(new QPushButton(tr("OK"), this), QDialogButtonBox::AcceptRole);
    cancel_ = buttons->add(new QPushButton(tr("Cancel"), this), QDialogButtonBox::RejectRole);
    help_ = buttons->add(new QPushButton(tr("Help"), this), QDialogButtonBox::HelpRole);
    ok_->setDefault(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    layout->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        if (model_.accept(store_, menu_, presenter_)) accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(buttons, &QDialogButtonBox::helpRequested, this, [] {
        initDialogsHelp();
        showHelp(QStringLiteral("paths"));
    });
    showModel();
    resize(sizeHint().expandedTo(QSize(520, 0)));
    PlaceForm(this);
}

void frmPaths::showModel() {
    for (int i = 0; i < kPathCount; ++i) labels_[static_cast<std::size_t>(i)]->setPath(model_.path(i));
    for (int db = 0; db < kDatabaseCount; ++db) {
        use_[static_cast<std::size_t>(db)]->setChecked(model_.useFlag(db));
        use_[static_cast<std::size_t>(db)]->setEnabled(model_.useEnabled(db));
    }
}

void frmPaths::changePath(int i) {
    const std::string title = PathsModel::changeTitle(i);
    const std::string chosen = PathsModel::isFolder(i)
                                   ? choosers_.folder(this, title, model_.path(i))
                                   : choosers_.file(this, title, model_.chooserFolder(i), model_.chooserFileName(i));
    model_.choose(i, chosen, presenter_);
    showModel();
    update();
}

bool frmPaths::event(QEvent* e) {
    // Ctrl+Tab and Ctrl+Shift+Tab switch pages wherever the focus is;
    // Tab and Shift+Tab move the focus as everywhere else.
    if (e->type() == QEvent::ShortcutOverride) {
        auto* k = static_cast<QKeyEvent*>(e);
        if ((k->key() == Qt::Key_Tab || k->key() == Qt::Key_Backtab) && (k->modifiers() & Qt::ControlModifier)) {
            e->accept();
            return true;
        }
    }
    return QDialog::event(e);
}

void frmPaths::keyPressEvent(QKeyEvent* e) {
    if ((e->key() == Qt::Key_Tab || e->key() == Qt::Key_Backtab) && (e->modifiers() & Qt::ControlModifier)) {
        tabs_->setCurrentIndex(1 - tabs_->currentIndex());
        return;
    }
    QDialog::keyPressEvent(e);
}

int ShowPaths(QWidget* parent, crv::common::AppState& state, crv::platform::SettingsStore& store,
              crv::common::RecentFilesMenu* menu, crv::common::MessagePresenter& presenter,
              const std::function<int(frmPaths&)>& run) {
    frmPaths dialog(state, store, menu, presenter, {}, parent);
    return run ? run(dialog) : dialog.exec();
}

}  // namespace crv::common::ui
