// Times the file browser on folders of 10,000 files:
//  - kind 4: result plots named by their stations, described from the names
//    against a 1,295-station "Rfi.plt";
//  - kind 5: pattern files, each one's first line read for its tool tip;
//  - kind 2: case files, each one's first two lines read to keep only finished cases;
// first the model alone, then the whole dialog opening (tree, list, selection).
// Run with QT_QPA_PLATFORM=offscreen; pass a count to change 10,000.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <string>

#include "crv/common/file_descriptions.h"
#include "crv/common/ui/file_browser_model.h"
#include "crv/common/ui/qt/frm_file_sel.h"
#include "crv/common/ui/qt/message_presenter.h"
#include "crv/testing/files.h"
#include "crv/testing/qt/recording_presenter.h"

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point t0) { return std::chrono::duration<double, std::milli>(Clock::now() - t0).count(); }

void write(const QString& path, const QByteArray& bytes) {
    crv::testing::writeBytes(path.toStdString(), bytes.toStdString());
}

QByteArray rfiPlt(int stations) {
    QByteArray text = "CRV Version 5.0.6\r\n ILX 270 109.500\r\n";
    for (int i = 1; i <= stations; ++i)
        text += QByteArray(" W") + QByteArray::number(i).rightJustified(5, '0') + "  " +
                QByteArray::number(88.1 + (i % 200) * 0.1, 'f', 3).rightJustified(7, ' ') + "\r\n";
    return text + " $$$$\r\n";
}

// The result plot names a run writes: one station (A2, A2B2), two and three signals.
std::string plotName(int n) {
    const std::string a = crv::common::EncodeBase36(1 + n % 1295);
    const std::string b = crv::common::EncodeBase36(1 + (n / 7) % 1295);
    const std::string c = crv::common::EncodeBase36(1 + (n / 13) % 1295);
    switch (n % 4) {
        case 0: return a + "____A2.plt";
        case 1: return a + "__A2B2.plt";
        case 2: return a + "_" + b + "___.plt";
        default: return a + "_" + b + "_" + c + ".plt";
    }
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int count = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10000;
    QTemporaryDir root;
    const QString output = root.path() + "/Output", user = root.path() + "/User", data = root.path() + "/Data";
    for (const auto& d : {output, user, data}) QDir().mkpath(d);

    write(output + "/Rfi.plt", rfiPlt(1295));
    int plots = 0;
    for (int n = 0; plots < count; ++n) {
        const QString path = output + "/" + QString::fromStdString(plotName(n));
        if (QFile::exists(path)) continue;
        write(path, QByteArray(100 + n % 5000, 'p'));
        ++plots;
    }
    for (int n = 0; n < count; ++n) {
        write(user + QString("/FmHor%1.pat").arg(n, 5, 10, QChar('0')),
              QByteArray("Pattern ") + QByteArray::number(n) + "\r\n  0   0.0\r\n 10  -1.0\r\n");
        write(data + QString("/case%1.dat").arg(n, 5, 10, QChar('0')),
              QByteArray("CRV Version 5.0.6\r\n ILX 270 109.500") + (n % 2 ? "\x7f" : "") +
                  "\r\n WAAA    101.500\r\n $$$$\r\n");
    }

    crv::common::AppState state;
    state.OutputFolder = output.toStdString() + "/";
    state.UserFolder = user.toStdString() + "/";
    state.DataFolder = data.toStdString() + "/";

    struct Run {
        int kind;
        const char* what;
    } runs[] = {{4, "plots, descriptions and station tips"},
                {5, "patterns, first line of each read"},
                {2, "case files, finished ones only"}};
    std::printf("file browser, %d files a folder\n", count);
    for (const auto& r : runs) {
        crv::common::ui::FileBrowserModel model(state);
        const auto t0 = Clock::now();
        model.selectFolder(model.start(r.kind, false));
        const double modelMs = msSince(t0);

        crv::testing::RecordingPresenter rec;
        crv::common::ui::frmFileSel dialog(state, &rec);
        std::size_t listed = 0;
        dialog.setRunner([&](crv::common::ui::frmFileSel& d) {
            d.show();
            QApplication::processEvents();  // lays out and paints the first screen of the list
            listed = d.model().items().size();
            d.reject();
        });
        const auto t1 = Clock::now();
        dialog.ShowFiles(r.kind);
        const double dialogMs = msSince(t1);
        std::printf("  kind %d (%s): %zu listed; model %.0f ms, dialog opened and shown %.0f ms\n", r.kind, r.what,
                    listed, modelMs, dialogMs);
    }
    return 0;
}
