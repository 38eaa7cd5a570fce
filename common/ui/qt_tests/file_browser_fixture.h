#pragma once
// A data folder and an output folder holding the files a run and the case
// editor leave behind, with known sizes and times.
#include <sys/time.h>
#include <utime.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <string>

#include "crv/common/app_state.h"

namespace browser_test {

inline void writeFile(const QString& path, const QByteArray& bytes, long long mtime) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly)) qFatal("cannot write %s", qPrintable(path));
    f.write(bytes);
    f.close();
    const utimbuf times{static_cast<time_t>(mtime), static_cast<time_t>(mtime)};
    ::utime(QFile::encodeName(path).constData(), &times);
}

// A file of `size` bytes without writing them (a hole), for sizes past 7 digits.
inline void sparseFile(const QString& path, qint64 size, long long mtime) {
    writeFile(path, {}, mtime);
    QFile f(path);
    if (!f.resize(size)) qFatal("cannot size %s", qPrintable(path));
    const utimbuf times{static_cast<time_t>(mtime), static_cast<time_t>(mtime)};
    ::utime(QFile::encodeName(path).constData(), &times);
}

struct Folders {
    QTemporaryDir root;
    QString data, output, user;
    crv::common::AppState state;

    Folders() {
        data = root.path() + "/Data";
        output = root.path() + "/Output";
        user = root.path() + "/User";
        QDir().mkpath(data);
        QDir().mkpath(output + "/Run 2");
        QDir().mkpath(user);
        state.DataFolder = data.toStdString() + "/";
        state.OutputFolder = output.toStdString() + "/";
        state.UserFolder = user.toStdString() + "/";

        const long long t0 = 1700000000;  // 2023-11-14
        // Case files: only those whose line after the version line ends in 127 are finished.
        writeFile(data + "/done.dat", "CRV Version 5.0.6\r\n ILX 270 109.500\x7f\r\n WAAA\r\n", t0 + 100);
        writeFile(data + "/unchecked.dat", "CRV Version 5.0.6\r\n ILX 270 109.500\r\n WAAA\r\n", t0 + 200);
        writeFile(data + "/old.dat", " ILX 270 109.500\x7f\n WAAA\n", t0 + 300);  // no version line, LF
        writeFile(data + "/UPPER.DAT", "crv version 5.0.6\r\n ILX\x7f\r\n", t0 + 400);
        writeFile(data + "/empty.dat", "", t0 + 500);
        writeFile(data + "/notes.txt", "x\x7f\r\n", t0 + 600);
        QDir().mkpath(data + "/folder.dat");

        // A run's output.
        writeFile(output + "/Rfi.plt",
                  "CRV Version 5.0.6\r\n"
                  " ILX 270 109.500\r\n"
                  " WAAA    101.500  39 00 00\r\n"
                  " KBBB-FM  99.125\r\n"
                  " WCCC    107.9\r\n"
                  " $$$$\r\n",
                  t0 + 10);
        writeFile(output + "/Rfi.txt", QByteArray(5000, 'r'), t0 + 20);
        writeFile(output + "/01____A2.plt", QByteArray(300, 'a'), t0 + 30);
        writeFile(output + "/02_03___.plt", QByteArray(9000, 'b'), t0 + 40);
        writeFile(output + "/01_02_03.plt", QByteArray(70, 'c'), t0 + 50);
        sparseFile(output + "/03__A2B2.plt", 12345678, t0 + 60);  // 8 digits
        writeFile(output + "/Rcvr_Loc.plx", QByteArray(800, 'x'), t0 + 70);
        writeFile(output + "/nav@1234.plt", QByteArray(1000, 'n'), t0 + 80);
        writeFile(output + "/fm@567.txt", QByteArray(100, 'f'), t0 + 90);
        writeFile(output + "/FmHor01.ptx", QByteArray(50, 'p'), t0 + 95);
        writeFile(output + "/Run 2/Rfi.txt", "x", t0 + 99);

        writeFile(user + "/FmHor01.pat", "Main lobe north\r\n  0 0\r\n", t0);
        writeFile(user + "/LocHor.pat", "Localizer array\r\n", t0);
    }
};

}  // namespace browser_test
