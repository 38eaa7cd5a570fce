#include "crv/common/ui/qt/lat_lon_options.h"

#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

namespace crv::common::ui {

QGroupBox* LatLonFormatOptions(const QString& title, std::array<QRadioButton*, 3>& options,
                               const std::function<void(int format)>& chosen, QWidget* parent) {
    auto* box = new QGroupBox(title, parent);
    auto* layout = new QVBoxLayout(box);
    const QString captions[] = {QString::fromLatin1("DDD\xB0 MM' SS\""), QString::fromLatin1("DDD.dddd\xB0"),
                                QString::fromLatin1("DDD\xB0 MM.mm'")};
    for (int n = 1; n <= 3; ++n) {
        auto* o = new QRadioButton(captions[n - 1], box);
        options[static_cast<std::size_t>(n - 1)] = o;
        layout->addWidget(o);
        QObject::connect(o, &QRadioButton::clicked, box, [chosen, n] { chosen(n); });
    }
    options[0]->setChecked(true);
    return box;
}

}  // namespace crv::common::ui
