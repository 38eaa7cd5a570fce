#include "crv/common/ui/qt/printing.h"

#include "crv/common/messages.h"
#include "crv/common/ui/qt/message_presenter.h"
#include "crv/common/ui/qt/qt_text.h"
#include "crv/platform/output_file.h"

#include <utility>

#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

namespace crv::common::ui {
namespace {

using crv::common::kCR;
using crv::common::MessageButtons;
using crv::common::MessageIcon;

PrintDialogRunner& runner() {
    static PrintDialogRunner r;
    return r;
}

bool noPrinterInstalled() { return QPrinterInfo::availablePrinterNames().isEmpty(); }

// The job the last print set-up began: the file the user chose and the
// files its documents went to.
struct PrintJob {
    const QPrinter* printer = nullptr;
    QString chosen;
    QString lastSet;  // the file the last document was given
    int lastNumber = 1;
    QStringList written;
    std::vector<std::string> refused;  // why a file was passed over
};

PrintJob& job() {
    static PrintJob j;
    return j;
}

void beginJob(const QPrinter& printer) {
    PrintJob& j = job();
    j = PrintJob{};
    j.printer = &printer;
    if (printer.outputFormat() == QPrinter::PdfFormat) j.chosen = j.lastSet = printer.outputFileName();
}

// Qt's own print dialog on Linux offers "Pages from ... to" whether or not
// the range option is set; a document of one page (a plot) must offer none.
// The range controls are Qt's, found by their names once the dialog has
// filled itself in as it shows.
class PageRangeHider : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show)
            for (const char* name : {"printRange", "pagesRadioButton", "pagesLineEdit", "from", "to"})
                if (auto* w = watched->findChild<QWidget*>(QString::fromLatin1(name))) w->setEnabled(false);
        return false;
    }
};

// "NAME (n).EXT" beside "NAME.EXT".
QString numbered(const QString& chosen, int n) {
    const QFileInfo file(chosen);
    const QString number = QStringLiteral(" (%1)").arg(n);
    const QString name = file.suffix().isEmpty() ? file.fileName() + number
                                                 : file.completeBaseName() + number + QLatin1Char('.') + file.suffix();
    return file.dir().filePath(name);
}

}  // namespace

QPrinter& programPrinter() {
    static QPrinter* printer = [] {
        auto* p = new QPrinter(QPrinter::HighResolution);
        if (noPrinterInstalled()) {
            p->setOutputFormat(QPrinter::PdfFormat);
            p->setOutputFileName(QDir::home().filePath(QStringLiteral("crv_print.pdf")));
        }
        return p;
    }();
    return *printer;
}

void SetUpPrinter(bool& cancel, std::int16_t& first, std::int16_t& last, QWidget* parent) {
    QPrinter& printer = programPrinter();
    printer.setPrintRange(QPrinter::AllPages);
    QPrintDialog dialog(&printer, parent);
    QAbstractPrintDialog::PrintDialogOptions options = QAbstractPrintDialog::PrintShowPageSize;
    // Printing to a file is offered only where it is the one way to print.
    if (noPrinterInstalled()) options |= QAbstractPrintDialog::PrintToFile;
    const bool pages = first >= 1 && last >= 1;
    if (pages) {
        options |= QAbstractPrintDialog::PrintPageRange;
        dialog.setMinMax(first, last);
        dialog.setFromTo(first, first);
    }
    dialog.setOptions(options);
    PageRangeHider hider;
    if (!pages) dialog.installEventFilter(&hider);
    const int result = runner() ? runner()(dialog) : dialog.exec();
    if (result != QDialog::Accepted) {
        cancel = true;
        return;
    }
    cancel = false;
    beginJob(printer);
    // The dialog has already handed printer, copies, orientation and paper
    // to the printer; only the page range comes back here.
    if (pages && printer.printRange() == QPrinter::PageRange) {
        first = static_cast<std::int16_t>(printer.fromPage());
        last = static_cast<std::int16_t>(printer.toPage());
    }
}

bool SetUpPrinter(QWidget* parent) {
    bool cancel = false;
    std::int16_t first = 0;
    std::int16_t last = 0;
    SetUpPrinter(cancel, first, last, parent);
    return !cancel;
}

QString nextPrintFile(QPrinter& printer) {
    if (printer.outputFormat() != QPrinter::PdfFormat) return {};
    PrintJob& j = job();
    // A printer given a file without the dialog starts a job on that file.
    if (j.printer != &printer || j.chosen.isEmpty() || printer.outputFileName() != j.lastSet) beginJob(printer);
    QString path = j.chosen;
    if (!j.written.isEmpty()) {
        do path = numbered(j.chosen, ++j.lastNumber);
        while (QFileInfo::exists(path));
    }
    // Pages are never written through a link, into a FIFO (which would hold
    // the program until someone reads it), a folder or a read-only file:
    // they go beside it, and the report of the job says why.
    for (auto ok = platform::checkWritableTarget(pathFromQt(path)); !ok;
         ok = platform::checkWritableTarget(pathFromQt(path))) {
        j.refused.push_back(ok.error());
        do path = numbered(j.chosen, ++j.lastNumber);
        while (QFileInfo::exists(path) || QFileInfo(path).isSymLink());
    }
    j.written.append(path);
    j.lastSet = path;
    printer.setOutputFileName(path);
    return path;
}

QStringList takePrintedFiles() {
    QStringList files;
    for (const QString& f : std::exchange(job().written, {}))
        if (QFileInfo::exists(f)) files.append(f);
    return files;
}

void reportPrintedFiles(crv::common::MessagePresenter& presenter) {
    const std::vector<std::string> refused = std::exchange(job().refused, {});
    const QStringList files = takePrintedFiles();
    if (files.isEmpty()) return;
    const std::string cr(1, kCR);
    std::string text;
    for (const std::string& why : refused) text += " " + why + " " + cr;
    if (files.size() == 1) {
        text += " The pages were written to " + cr + " " + fromQt(QDir::toNativeSeparators(files.front())) + " ";
    } else {
        const QFileInfo first(files.front());
        text += " The pages were written to " + std::to_string(files.size()) + " files in " + cr + " " +
                fromQt(QDir::toNativeSeparators(first.absolutePath())) + ": " + cr + " " + fromQt(first.fileName()) +
                " to " + fromQt(QFileInfo(files.back()).fileName()) + " ";
    }
    presenter.present({text, "Print", MessageIcon::Information, MessageButtons::Ok});
}

void setPrintDialogRunner(PrintDialogRunner r) { runner() = std::move(r); }

}  // namespace crv::common::ui
