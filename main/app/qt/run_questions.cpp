#include "crv/main/app/qt/run_questions.h"

#include <QFileDialog>

#include "crv/main/dialogs/qt/frm_srch_par.h"

namespace crv::main::qt {

QtRunQuestions::QtRunQuestions(QWidget*& parent, const std::string& modelType,
                               crv::common::MessagePresenter& presenter)
    : parent_(parent), modelType_(modelType), presenter_(presenter) {}

void QtRunQuestions::GetParams(bool backCrs, std::int16_t& svType, float& srchRad, bool& canceled) {
    frmSrchPar::GetParams(parent_, modelType_, presenter_, backCrs, svType, srchRad, canceled);
}

std::string qtFilterOf(const std::string& filter) {
    // Pairs of "description|pattern"; Qt shows the descriptions, which hold the patterns.
    std::string out;
    std::size_t pos = 0;
    bool description = true;
    while (pos <= filter.size()) {
        const auto bar = filter.find('|', pos);
        const std::string part = filter.substr(pos, bar == std::string::npos ? std::string::npos : bar - pos);
        if (description && !part.empty()) out += (out.empty() ? "" : ";;") + part;
        description = !description;
        if (bar == std::string::npos) break;
        pos = bar + 1;
    }
    return out;
}

std::string QtRunQuestions::SaveFileAs(const crv::main::run::SaveFileRequest& r) {
    if (chooser_) return chooser_(r);
    QFileDialog::Options options;
    if (!r.promptOverwrite) options |= QFileDialog::DontConfirmOverwrite;
    QString chosen = QFileDialog::getSaveFileName(parent_, QString::fromLatin1(r.title.c_str()),
                                                  QString::fromLatin1((r.initialDir + r.fileName).c_str()),
                                                  QString::fromLatin1(qtFilterOf(r.filter).c_str()), nullptr, options);
    if (chosen.isEmpty()) return {};
    const QString ext = QString::fromLatin1(r.defaultExt.c_str());
    if (!ext.isEmpty() && !chosen.contains(QLatin1Char('.'), Qt::CaseSensitive)) chosen += ext;
    const QByteArray bytes = chosen.toLocal8Bit();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

}  // namespace crv::main::qt
