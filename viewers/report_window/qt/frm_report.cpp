#include "crv/viewers/report_window/qt/frm_report.h"

#include "crv/common/drawing/qt/qt_output.h"
#include "crv/common/error_report.h"
#include "crv/common/ui/qt/form_services.h"
#include "crv/common/ui/qt/help.h"
#include "crv/common/ui/qt/message_presenter.h"
#include "crv/common/ui/qt/printing.h"
#include "crv/viewers/plot_window/qt/print_job.h"
#include "crv/viewers/report_layout.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

#include <climits>
#include <cmath>

static void initReportViewerHelp() { Q_INIT_RESOURCE(report_window_help); }

namespace crv::viewers {

using namespace crv::common;

QString fromWindows1252(std::string_view bytes) {
    // 0x80..0x9F of Windows-1252; the rest is Latin-1.
    static const char16_t k80[32] = {0x20AC, 0x81,   0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                     0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x8D,   0x017D, 0x8F,
                                     0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                     0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x9D,   0x017E, 0x0178};
    QString out;
    out.reserve(static_cast<qsizetype>(bytes.size()));
    for (const char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        out += QChar(u >= 0x80 && u < 0xA0 ? k80[u - 0x80] : char16_t(u));
    }
    return out;
}

namespace {
// The frames' design: 120 twips of margin round the text, buttons of 360 by
// 300 twips, labels of 1200 by 300 twips (pixels at 15 twips a pixel).
constexpr int kTextMargin = 8;
}  // namespace

frmReport::frmReport(const ReportViewerServices& services, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      services_(services) {
    initReportViewerHelp();
    setObjectName("frmReport");
    setWindowTitle(" CRV Report");
    auto* bar = new QMenuBar(this);
    fileMenu_ = bar->addMenu("&File");
    fileMenu_->addAction("&Open...", this, [this] { mnuFileOpen_Click(); });
    fileMenu_->addAction("&Save As...", this, [this] { mnuFileSave_Click(); });
    fileMenu_->addSeparator();
    fileMenu_->addAction("&Print", this, [this] { mnuFilePrint_Click(); });
    fileMenu_->addSeparator();
    fileMenu_->addAction("E&xit", this, [this] { mnuFileExit_Click(); });
    QMenu* view = bar->addMenu("&View");
    view->addAction("Set Screen Font", this, [this] { mnuViewFont_Click(); });
    bar->addAction("&Help", this, [] { ui::showHelp(QStringLiteral("report_viewer")); });

    margin_ = new QFrame;
    margin_->setObjectName("fraMargin");
    auto* ml = new QVBoxLayout(margin_);
    ml->setContentsMargins(kTextMargin, kTextMargin, kTextMargin, kTextMargin);
    text_ = new QPlainTextEdit;
    text_->setObjectName("txtReport");
    text_->setReadOnly(true);
    text_->setLineWrapMode(QPlainTextEdit::NoWrap);
    text_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    text_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    text_->installEventFilter(this);
    ml->addWidget(text_, 0, Qt::AlignHCenter);

    auto frame = [this](const char* name, QPushButton*& prev, QLabel*& label, QPushButton*& next) {
        auto* f = new QFrame;
        f->setObjectName(name);
        auto* l = new QHBoxLayout(f);
        prev = new QPushButton("<<");
        next = new QPushButton(">>");
        label = new QLabel;
        label->setAlignment(Qt::AlignCenter);
        label->setMinimumWidth(100);
        for (QPushButton* b : {prev, next}) {
            b->setFixedSize(32, 22);
            b->installEventFilter(this);
        }
        l->addWidget(prev);
        l->addWidget(label, 1);
        l->addWidget(next);
        f->setFixedWidth(190);
        return f;
    };
    QFrame* pages = frame("fraPageCntrls", prevPage_, pageLabel_, nextPage_);
    QFrame* reports = frame("fraReprtCntrls", prevReport_, reportLabel_, nextReport_);
    connect(prevPage_, &QPushButton::clicked, this, [this] { cmdPrevPage_Click(); });
    connect(nextPage_, &QPushButton::clicked, this, [this] { cmdNextPage_Click(); });
    connect(prevReport_, &QPushButton::clicked, this, [this] { cmdPrevReprt_Click(); });
    connect(nextReport_, &QPushButton::clicked, this, [this] { cmdNextReprt_Click(); });
    // The page controls a quarter across, the report controls mirrored.
    auto* controls = new QHBoxLayout;
    controls->addStretch(1);
    controls->addWidget(pages);
    controls->addStretch(2);
    controls->addWidget(reports);
    controls->addStretch(1);

    auto* top = new QVBoxLayout(this);
    top->setMenuBar(bar);
    top->setContentsMargins(2, 0, 2, 2);
    top->addWidget(margin_);
    top->addLayout(controls);
    top->setSizeConstraint(QLayout::SetFixedSize);
}

MessagePresenter& frmReport::presenter() const {
    return services_.presenter ? *services_.presenter : ui::appPresenter();
}

QPrinter& frmReport::printer() const { return services_.printer ? *services_.printer : ui::programPrinter(); }

void frmReport::beep() {
    if (services_.beep)
        services_.beep();
    else
        QApplication::beep();
}

void frmReport::setReports(const std::string& folder, const std::string& fileList) {
    controller_.setList(folder, fileList);
}

// The window's height less the text area's: menu, margins, the controls
// below and the caption.
// The window's frame round its client area: measured once the window is
// shown, until then the style's caption and border.
static QMargins frameMargins(const QWidget* w) {
    const QRect frame = w->frameGeometry(), inner = w->geometry();
    if (w->isVisible() && frame != inner)
        return {inner.left() - frame.left(), inner.top() - frame.top(), frame.right() - inner.right(),
                frame.bottom() - inner.bottom()};
    const int border = w->style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth);
    return {border, w->style()->pixelMetric(QStyle::PM_TitleBarHeight) + border, border, border};
}

int frmReport::overheadHeight() const {
    // Everything but the text area: menu bar, margins, page controls, and the
    // frame with its caption. The text area counts at the height the layout
    // gives it (its fixed height once sized).
    const bool fixed = text_->minimumHeight() == text_->maximumHeight();
    const int textH = fixed ? text_->minimumHeight() : text_->sizeHint().height();
    const QMargins frame = frameMargins(this);
    return sizeHint().height() - textH + frame.top() + frame.bottom();
}

static QRect workArea(const QWidget* w) {
    const QScreen* s = w->screen() ? w->screen() : QGuiApplication::primaryScreen();
    return s ? s->availableGeometry() : QRect(0, 0, 1024, 768);
}

static int workAreaHeight(const QWidget* w) { return workArea(w).height(); }

void frmReport::ChooseScreenFont() {
    // The line height at which 58 lines fill 99% of the work area (pixels).
    const int linePx = lineTwipsFor(workAreaHeight(this), overheadHeight(), 0);
    QFont font(substituteFace("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setItalic(false);
    if (linePx < 9) {
        // Too small a screen for the 9-pixel font: the bold 8-pixel one.
        font.setBold(true);
        font.setPixelSize(8);
    } else {
        font.setBold(false);
        const int px = growFontPixels(9, linePx, [font](int size) mutable {
            font.setPixelSize(size);
            return static_cast<int>(std::ceil(QFontMetricsF(font).lineSpacing()));
        });
        font.setPixelSize(px);
    }
    text_->setFont(font);
}

void frmReport::SizeReportWindow() {
    // The text area gives every line the font's spacing rounded up.
    const QFontMetricsF fm(text_->font());
    const double lineF = fm.lineSpacing();
    const int h = static_cast<int>(std::ceil(lineF));
    const double w = fm.horizontalAdvance(QLatin1Char('A'));
    const int avail = static_cast<int>(std::lround(0.99 * workAreaHeight(this))) - overheadHeight();
    controller_.setLinesPerPage(linesPerPageFor(avail, h));
    const int chrome = 2 * (text_->frameWidth() + static_cast<int>(text_->document()->documentMargin())) + 2;
    const int textH = controller_.LinesPerPage() * h + chrome;
    const int textW = static_cast<int>(std::ceil(82 * w)) + chrome;
    text_->setFixedSize(textW, textH);
    const int frameH = textH + 2 * kTextMargin;
    margin_->setMinimumWidth(std::max(textW + 2 * kTextMargin, static_cast<int>(0.8 * frameH)));
    adjustSize();
    // The whole window, frame and menu included, stays on the screen: a page
    // of fewer lines where the estimate above was short.
    const QRect area = workArea(this);
    const QMargins frame = frameMargins(this);
    const int over = sizeHint().height() + frame.top() + frame.bottom() - area.height();
    if (over > 0 && controller_.LinesPerPage() > 1) {
        controller_.setLinesPerPage(std::max(1, controller_.LinesPerPage() - (over + h - 1) / h));
        text_->setFixedHeight(controller_.LinesPerPage() * h + chrome);
        margin_->setMinimumWidth(
            std::max(textW + 2 * kTextMargin, static_cast<int>(0.8 * (text_->height() + 2 * kTextMargin))));
        adjustSize();
    }
    ui::PlaceForm(this);
    // Placed over the main window, it may still reach past an edge.
    const QRect placed(pos(), QSize(width() + frame.left() + frame.right(), height() + frame.top() + frame.bottom()));
    const int dx = std::max(area.left() - placed.left(), std::min(0, area.right() - placed.right()));
    const int dy = std::max(area.top() - placed.top(), std::min(0, area.bottom() - placed.bottom()));
    if (dx != 0 || dy != 0) move(pos() + QPoint(dx, dy));
}

void frmReport::LoadFile() {
    const auto error = controller_.LoadFile();
    setWindowTitle(QString::fromLatin1(controller_.caption()));
    reportLabel_->setText(QString::fromStdString(controller_.reportLabelText()));
    prevReport_->setEnabled(controller_.prevReportEnabled());
    nextReport_->setEnabled(controller_.nextReportEnabled());
    if (error) ShowUnexpectedError(presenter(), "LoadFile", *error);
    LoadPage();
}

void frmReport::LoadPage() {
    QString page = fromWindows1252(controller_.pageText());
    page.remove(QLatin1Char('\r'));
    text_->setPlainText(page);
    pageLabel_->setText(QString::fromStdString(controller_.pageLabelText()));
    prevPage_->setEnabled(controller_.prevPageEnabled());
    nextPage_->setEnabled(controller_.nextPageEnabled());
}

void frmReport::cmdPrevPage_Click() {
    if (controller_.prevPage()) LoadPage();
}
void frmReport::cmdNextPage_Click() {
    if (controller_.nextPage()) LoadPage();
}
void frmReport::cmdPrevReprt_Click() {
    if (controller_.prevReport()) LoadFile();
}
void frmReport::cmdNextReprt_Click() {
    if (controller_.nextReport()) LoadFile();
}

void frmReport::keyPressEvent(QKeyEvent* event) {
    if (event->key() != Qt::Key_PageUp && event->key() != Qt::Key_PageDown) {
        QDialog::keyPressEvent(event);
        return;
    }
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    using K = ReportViewerController::KeyAction;
    switch (controller_.key(event->key() == Qt::Key_PageDown, mods == Qt::ShiftModifier,
                            mods != Qt::NoModifier && mods != Qt::ShiftModifier)) {
        case K::Page: LoadPage(); break;
        case K::Report: LoadFile(); break;
        case K::Beep: beep(); break;
        case K::None: break;
    }
}

bool frmReport::eventFilter(QObject* watched, QEvent* event) {
    // The window gets Page Up and Page Down before its controls.
    if (event->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(event);
        if (k->key() == Qt::Key_PageUp || k->key() == Qt::Key_PageDown) {
            keyPressEvent(k);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

bool frmReport::PrintReport(int fromPage, int toPage) {
    try {
        const std::vector<PrintedPage> pages = controller_.pagesToPrint(fromPage, toPage);
        if (pages.empty()) return true;  // nothing in the range: no job
        QPrinter& p = printer();
        const PrinterPage paper = printerPage(p);
        const PrintGeometry g =
            printGeometry(paper.dpiX, paper.dpiY, paper.paperWidth, paper.paperHeight, paper.offX, paper.offY);
        beginPrintJob(p, controller_.currentName());
        p.setFullPage(true);
        QPainter painter;
        if (!painter.begin(&p)) {
            ShowUnexpectedError(presenter(), "PrintReport", "The printer could not start the job.");
            return false;
        }
        // Positions are measured from the printable area's corner.
        painter.translate(paper.offX, paper.offY);
        QFont font(substituteFace("Courier New"));
        font.setPointSizeF(10);
        painter.setFont(font);
        const QFontMetricsF fm(painter.font(), painter.device());
        const double ascent = fm.ascent();
        const QString header = fromWindows1252(footerHeader(controller_.currentName()));
        for (std::size_t i = 0; i < pages.size(); ++i) {
            if (i > 0) p.newPage();
            double y = g.top;
            for (const std::string& line : pages[i].lines) {
                painter.drawText(QPointF(g.left, y + ascent), fromWindows1252(line));
                y += g.lineHeight;
            }
            const QString number = QString::fromStdString(footerPage(pages[i].number));
            painter.drawText(QPointF(g.left, g.footerY + ascent), header);
            painter.drawText(QPointF(g.right - fm.horizontalAdvance(number), g.footerY + ascent), number);
        }
        if (!painter.end()) {
            ShowUnexpectedError(presenter(), "PrintReport", "The printer could not finish the job.");
            return false;
        }
    } catch (const std::exception& e) {
        ShowUnexpectedError(presenter(), "PrintReport", e.what());
        return false;
    }
    return true;
}

void frmReport::mnuFilePrint_Click() {
    // The range is offered in printed pages, the pages it is applied to.
    int from = 1;
    int to = std::max(1, controller_.printedPageTotal());
    bool ok = true;
    if (services_.setUpPrinter) {
        ok = services_.setUpPrinter(this, from, to);
    } else {
        bool cancel = false;
        std::int16_t first = 1;
        auto last = static_cast<std::int16_t>(std::min(to, 32767));
        ui::SetUpPrinter(cancel, first, last, this);
        ok = !cancel;
        from = first;
        to = last == 32767 ? INT_MAX : last;
    }
    if (!ok) return;
    PrintReport(from, to);
    ui::reportPrintedFiles(presenter());
}

void frmReport::mnuFileOpen_Click() {
    const std::optional<FileChoice> choice =
        services_.showFiles ? services_.showFiles(this, controller_.ReportFolder())
                            : chooseFiles(services_.fileBrowser, 3, this, controller_.ReportFolder(),
                                          "Report Files (*.txt);;All Files (*)");
    if (!choice || choice->names.empty()) return;
    controller_.setList(choice->folder, choice->names);
    LoadFile();
}

void frmReport::mnuFileSave_Click() {
    if (controller_.CurrentReport() < 1) return;
    std::string target;
    if (services_.saveFileName) {
        target = services_.saveFileName(this, controller_.ReportFolder(), controller_.currentName());
    } else {
        QFileDialog dialog(this, "Save As", QString::fromStdString(controller_.currentPath()),
                           "Report Files (*.txt);;All Files (*)");
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix("txt");
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
            target = dialog.selectedFiles().first().toStdString();
    }
    if (target.empty()) return;
    // The copy never destroys the report (saving it onto itself leaves it
    // alone) and a failure says what went wrong.
    const std::string error = controller_.saveAs(target);
    if (!error.empty()) presenter().present({error, "CRV Error", MessageIcon::Exclamation, MessageButtons::Ok});
    update();
}

void frmReport::mnuFileExit_Click() { accept(); }

void frmReport::mnuViewFont_Click() {
    QFont font = text_->font();
    bool ok = false;
    if (services_.chooseFont) {
        ok = services_.chooseFont(this, font);
    } else {
        font = QFontDialog::getFont(&ok, text_->font(), this, QString(), QFontDialog::MonospacedFonts);
    }
    if (!ok) {
        update();
        return;
    }
    font.setItalic(false);
    text_->setFont(font);
    SizeReportWindow();
    LoadFile();
}

}  // namespace crv::viewers
