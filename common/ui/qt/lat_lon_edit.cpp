#include "crv/common/ui/qt/lat_lon_edit.h"

#include <algorithm>

#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>

#include "crv/common/lat_lon.h"
#include "crv/common/ui/qt/qt_text.h"

namespace crv::common::ui {

LatLonEdit::LatLonEdit(Axis axis, int fmt, crv::common::MessagePresenter* presenter, QWidget* parent)
    : FieldEdit(parent), axis_(axis), fmt_(fmt >= 1 && fmt <= 3 ? fmt : 1) {
    crv::common::FieldCheck c;
    c.kind = crv::common::kFieldLatLon;
    c.min = static_cast<float>(axis);
    c.max = axis == Axis::Latitude ? 90.0f : 180.0f;
    c.decimals = static_cast<std::int16_t>(fmt_);
    setFieldCheck(c, presenter);
    // Paste, cut and drops would close up the fixed places.
    setContextMenuPolicy(Qt::NoContextMenu);
    setAcceptDrops(false);
    // The check rewrites the text; the mask follows its hemisphere.
    connect(this, &QLineEdit::textChanged, this, [this](const QString& t) {
        std::string m = mask();
        if (!t.isEmpty() && !m.empty() && t[0].isLetter()) {
            m[0] = static_cast<char>(t[0].toUpper().unicode());
            setMask(m);
        }
    });
    setValue(0.0);
}

void LatLonEdit::setValue(double degrees) {
    const std::string text = crv::common::FormatLatLon(degrees, static_cast<int>(axis_), fmt_);
    setMask(crv::common::LatLonMask(text.empty() ? (axis_ == Axis::Latitude ? 'N' : 'W') : text[0], fmt_));
    setText(toQt(text));
}

double LatLonEdit::value() const { return crv::common::ParseLatLon(fromQt(text())); }

void LatLonEdit::setFormat(int fmt) {
    if (fmt < 1 || fmt > 3) return;
    const double v = value();
    fmt_ = fmt;
    check().decimals = static_cast<std::int16_t>(fmt);
    setValue(v);
}

void LatLonEdit::blankDigit(bool backwards) {
    if (hasSelectedText()) {
        clearSelectedPlaces();
        return;
    }
    const std::string m = mask();
    QString t = text();
    int p = cursorPosition() - (backwards ? 1 : 0);
    while (p >= 0 && p < int(m.size()) && m[std::size_t(p)] != '#') p += backwards ? -1 : 1;
    if (p < 0 || p >= int(m.size()) || p >= t.size()) return;
    t[p] = QLatin1Char('0');
    setText(t);
    setCursorPosition(backwards ? p : p + 1);
}

void LatLonEdit::clearSelectedPlaces() {
    const std::string m = mask();
    const int from = int(selectionStart());
    const int to = from + int(selectedText().size());
    QString t = text();
    for (int p = from; p < to && p < int(m.size()) && p < t.size(); ++p)
        if (m[std::size_t(p)] == '#') t[p] = QLatin1Char('0');
    setText(t);  // drops the selection
    setCursorPosition(std::max(from, 2));
}

void LatLonEdit::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    if (key == Qt::Key_Backspace || key == Qt::Key_Delete) {
        blankDigit(key == Qt::Key_Backspace);
        event->accept();
        return;
    }
    const QString typed = event->text();
    if (typed == QStringLiteral(".") && !(mods & (Qt::ControlModifier | Qt::AltModifier))) {
        // The decimal point is part of the mask: move past it.
        const std::string m = mask();
        const auto dot = m.find('.', std::size_t(hasSelectedText() ? selectionStart() : cursorPosition()));
        if (dot != std::string::npos)
            setCursorPosition(int(dot) + 1);
        else
            QApplication::beep();
        event->accept();
        return;
    }
    // Shortcuts that change the text (paste, cut, undo, delete word) would
    // break the mask; copying and moving about are fine.
    if (event == QKeySequence::Paste || event == QKeySequence::Cut || event == QKeySequence::Undo ||
        event == QKeySequence::Redo || event == QKeySequence::DeleteEndOfWord ||
        event == QKeySequence::DeleteStartOfWord || event == QKeySequence::DeleteEndOfLine ||
        event == QKeySequence::DeleteCompleteLine) {
        QApplication::beep();
        event->accept();
        return;
    }
    if (!typed.isEmpty() && typed[0].unicode() >= 0x20 && typed[0].unicode() != 0x7F &&
        !(mods & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) {
        if (typed.size() != 1) {  // the filter takes one key at a time
            QApplication::beep();
            event->accept();
            return;
        }
        if (hasSelectedText()) {
            const QChar c = typed[0].toUpper();
            const bool latitude = axis_ == Axis::Latitude;
            if (c == QLatin1Char(latitude ? 'N' : 'E') || c == QLatin1Char(latitude ? 'S' : 'W')) {
                // A new hemisphere over a selection keeps the digits
                // selected: the position typed next still replaces them.
                const int from = std::max(int(selectionStart()), 2);
                const int to = int(selectionStart()) + int(selectedText().size());
                QString t = text();
                t[0] = c;
                setText(t);
                if (to > from)
                    setSelection(from, to - from);
                else
                    setCursorPosition(2);
                event->accept();
                return;
            }
            if (c.isDigit()) {
                // What is typed over a selection replaces all of it: its
                // digit places are cleared before the first digit goes in,
                // so no old digit survives behind the ones typed.
                clearSelectedPlaces();
            }
        }
    }
    FieldEdit::keyPressEvent(event);
}

// Composed input would bypass the key filter.
void LatLonEdit::inputMethodEvent(QInputMethodEvent* event) { event->ignore(); }

}  // namespace crv::common::ui
