#include "crv/main/app/qt/run_questions.h"

#include <QFileDialog>

#include "crv/common/ui/qt/form_services.h"
#include "crv/common/ui/qt/qt_text.h"
#include "crv/main/dialogs/qt/frm_srch_par.h"
#include "crv/main/run/save_file_choice.h"

namespace crv::main::qt {

QtRunQuestions::QtRunQuestions(QWidget*& parent, const std::string& modelType, crv::common::MessagePresenter& presenter)
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
    // The dialog only picks a name; the extension and the question about an
    // existing file follow here, in that order, whatever dialog is in use.
    auto dialog = [this](const crv::main::run::SaveFileRequest& ask) -> std::string {
        if (chooser_) return chooser_(ask);
        QFileDialog dialog(parent_, crv::common::ui::toQt(ask.title), crv::common::ui::pathToQt(ask.initialDir),
                           crv::common::ui::toQt(qtFilterOf(ask.filter)));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setOption(QFileDialog::DontConfirmOverwrite);  // asked below, after the extension is on
        dialog.selectFile(crv::common::ui::pathToQt(ask.fileName));
        crv::common::ui::fitFileDialog(&dialog);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
        return crv::common::ui::pathFromQt(dialog.selectedFiles().front());
    };
    return crv::main::run::chooseSaveFile(r, dialog, presenter_);
}

}  // namespace crv::main::qt
