#include "frm_data_edit.h"

// The dictionary pages (1, 2 and 4): their fields built from the field
// dictionary, the keys, pastes and focus changes each field hands to
// PageFields, the relative angle button and the diagram box.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QStyle>

#include "crv/editors/case_editor/diagram_box.h"
#include "crv/editors/diagrams/qt/diagram_images.h"
#include "frm_data_edit_keys.h"
#include "key_line_edit.h"

namespace crv::editors {

using namespace data_edit;

QWidget* frmDataEdit::buildField(int n) {
    PageFields& pages = c_.pages();
    const FieldBox& f = *pages.field(n);
    QWidget* w = nullptr;
    if (f.isList()) {
        auto* combo = new QComboBox;
        // As wide as the longest option of either edition's list, never
        // narrower than the design width: no choice is shown cut.
        combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        combo->setMinimumWidth(px(3780));
        combo->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
        connect(combo, qOverload<int>(&QComboBox::activated), this, [this, n, combo](int index) {
            if (syncing_) return;
            DiagramKind d = DiagramKind::Hidden;
            const bool ok = c_.pages().listClick(n, index, &d);
            refreshField(n);
            if (ok && combo->hasFocus()) showDiagram(d, c_.pages().field(n)->page);
            refreshMenus();
        });
        w = combo;
    } else if (f.isCheck()) {
        auto* box = new QCheckBox(q(f.record.label));
        box->setMinimumWidth(px(2160));
        connect(box, &QCheckBox::clicked, this, [this, n](bool on) {
            if (syncing_) return;
            c_.pages().checkClick(n, on ? 1 : 0);
            refreshField(n);
        });
        w = box;
    } else {
        auto* edit = new KeyLineEdit;
        if (f.isPosition()) {
            edit->setFixedWidth(std::max(px(1260), edit->fontMetrics().horizontalAdvance("W 180\xB0 59' 59\"") + 16));
        } else {
            edit->setMaxLength(f.record.width);
            // A text box shows all the characters it takes (a 25-character site name whole).
            const int whole = f.wide
                                  ? edit->fontMetrics().horizontalAdvance(QString(f.record.width, QLatin1Char('N'))) +
                                        2 * edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth) + 8
                                  : 0;
            edit->setFixedWidth(std::max(px(f.wide ? 2040 : 1020), whole));
        }
        edit->onKey = [this, n](QKeyEvent* e) { return pageKey(n, e); };
        edit->onPaste = [this, n](const QString& t) { pagePaste(n, t); };
        edit->onFocusIn = [this, n, edit] {
            if (committing_) return;
            // Back from a message box, a menu or another window into the
            // field that was current: no new entry, so what it held on
            // entry stays what Escape puts back.
            const Qt::FocusReason why = edit->focusInReason();
            if ((why == Qt::ActiveWindowFocusReason || why == Qt::PopupFocusReason) && c_.state.currentField == n)
                return;
            const DiagramKind d = c_.pages().gotFocus(n);
            showDiagram(d, c_.pages().field(n)->page);
            const FieldBox* box = c_.pages().field(n);
            if (box->isPosition()) edit->setCursorPosition(2);
            // Selected once the focus has settled, and only if it is still
            // here: a page switch passes the focus through the page's first
            // field, which must not keep a selection and look current.
            else
                QMetaObject::invokeMethod(
                    edit,
                    [edit] {
                        if (edit->hasFocus()) edit->selectAll();
                    },
                    Qt::QueuedConnection);
        };
        edit->onFocusOut = [this, n](Qt::FocusReason r) { pageFocusOut(n, r); };
        connect(edit, &QLineEdit::textEdited, this, [this, n, edit](const QString& t) {
            // Edits that come without a key (cut, undo, the context menu)
            // start an edit like a key does.
            if (c_.state.editState == 0) {
                std::int16_t k = 8;
                if (c_.pages().keyPress(n, k) == KeyAction::Swallow) {
                    refreshField(n);
                    return;
                }
            }
            c_.pages().textChanged(n, s(edit->text()));
            redrawDiagramSoon();
            (void)t;
        });
        w = edit;
    }
    w->setObjectName(QString("field%1").arg(n));
    w->setEnabled(f.enabled);
    fields_[n] = w;
    return w;
}

void frmDataEdit::buildPage(int page) {
    PageFields& pages = c_.pages();
    auto* pageW = new QWidget;
    pageW->setObjectName(QString("fraEdit%1").arg(page));
    auto* grid = new QGridLayout(pageW);
    grid->setHorizontalSpacing(px(900));
    grid->setVerticalSpacing(2);
    int columns = pages.columnCount(page);
    for (int n : pages.fieldNumbers(page)) {
        const FieldBox& f = *pages.field(n);
        if (!f.visible) continue;
        QWidget* w = buildField(n);
        const int row = f.gridRow * 2;
        auto* label = f.isCheck() ? nullptr : new QLabel(q(f.record.label));
        if (label) label->setObjectName(QString("lblFldLabel%1").arg(n));
        if (n == pages.gridAngleField) {
            // The relative angle button stands right of the field, spanning
            // its label's row, bottoms aligned.
            grid->addWidget(relAngle_, row, f.gridColumn + 1, 2, 1, Qt::AlignLeft | Qt::AlignBottom);
            columns = std::max(columns, f.gridColumn + 2);
        }
        if (label) grid->addWidget(label, row, f.gridColumn, Qt::AlignLeft | Qt::AlignBottom);
        grid->addWidget(w, row + 1, f.gridColumn, Qt::AlignLeft | Qt::AlignTop);
    }
    for (int r = 0; r < 12; ++r) grid->setRowMinimumHeight(r, r % 2 ? px(360) : px(300));
    grid->setColumnStretch(columns + 1, 1);
    grid->setRowStretch(13, 1);
    pagesW_[page] = pageW;
}

void frmDataEdit::refreshField(int n) {
    auto it = fields_.find(n);
    if (it == fields_.end()) {
        if (n == c_.pages().gridAngleField || n == c_.pages().svTypeField)
            relAngle_->setEnabled(c_.pages().relAngleEnabled());
        return;
    }
    const FieldBox& f = *c_.pages().field(n);
    QSignalBlocker block(it->second);
    syncing_ = true;
    if (auto* combo = qobject_cast<QComboBox*>(it->second)) {
        QStringList items;
        for (const auto& o : f.options) items << q(o);
        QStringList now;
        for (int i = 0; i < combo->count(); ++i) now << combo->itemText(i);
        if (now != items) {
            combo->clear();
            combo->addItems(items);
        }
        combo->setCurrentIndex(f.listIndex);
    } else if (auto* box = qobject_cast<QCheckBox*>(it->second)) {
        box->setChecked(f.checkState != 0);
    } else if (auto* edit = qobject_cast<QLineEdit*>(it->second)) {
        if (edit->text() != q(f.value)) edit->setText(q(f.value));
        if (f.isPosition()) edit->setCursorPosition(f.caret);
    }
    it->second->setEnabled(f.enabled);
    syncing_ = false;
    relAngle_->setEnabled(c_.pages().relAngleEnabled());
}

bool frmDataEdit::pageKey(int n, QKeyEvent* e) {
    auto* edit = static_cast<QLineEdit*>(fields_[n]);
    FieldBox& f = *c_.pages().field(n);
    const int key = e->key();
    auto forward = [&](std::int16_t k) {
        f.caret = edit->cursorPosition();
        const KeyAction a = c_.pages().keyPress(n, k);
        switch (a) {
            case KeyAction::SendTab: focusNextChild(); break;
            case KeyAction::Swallow: refreshField(n); break;
            case KeyAction::Beep: QApplication::beep(); break;
            case KeyAction::Pass:
                // A position's mask takes only what the filter placed itself.
                if (k > 0 && !f.isPosition()) {
                    edit->insert(QString(QChar(static_cast<ushort>(static_cast<unsigned char>(k)))));
                    c_.pages().textChanged(n, s(edit->text()));
                }
                break;
        }
        return a;
    };
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        forward(13);
        return true;
    }
    if (key == Qt::Key_Escape) {
        forward(27);
        return true;
    }
    // Typed over a selected position, a digit, Backspace or Delete first
    // clears the selected digit places, so nothing of the old position
    // survives behind what is typed.
    const std::int16_t typed = keyCode(e);
    if (f.isPosition() && edit->hasSelectedText() &&
        (key == Qt::Key_Backspace || key == Qt::Key_Delete || (typed >= '0' && typed <= '9'))) {
        std::int16_t probe = 8;  // asks first where the field wants confirmation
        if (c_.pages().keyPress(n, probe) == KeyAction::Swallow) {
            refreshField(n);
            return true;
        }
        const int from = edit->selectionStart();
        const int to = from + int(edit->selectedText().size());
        std::string t = f.value;
        for (int p = from; p < to && p < int(t.size()) && p < int(f.maskText.size()); ++p)
            if (f.maskText[std::size_t(p)] == '#') t[std::size_t(p)] = '0';
        c_.pages().textChanged(n, t);
        f.caret = std::max(from, 2);
        refreshField(n);
        if (key == Qt::Key_Backspace || key == Qt::Key_Delete) return true;
    }
    if (key == Qt::Key_Backspace || key == Qt::Key_Delete || e->matches(QKeySequence::Cut) ||
        e->matches(QKeySequence::Undo) || e->matches(QKeySequence::Redo)) {
        if (f.isPosition()) return true;  // the mask keeps its places
        std::int16_t k = 8;
        if (c_.pages().keyPress(n, k) == KeyAction::Swallow) {
            refreshField(n);
            return true;
        }
        return false;  // the box deletes; textEdited hands the text over
    }
    if (e->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) return false;
    const std::int16_t k = keyCode(e);
    if (k < 32) return false;  // navigation keys
    forward(k);
    return true;
}

void frmDataEdit::pagePaste(int n, const QString& text) {
    auto* edit = static_cast<QLineEdit*>(fields_[n]);
    FieldBox& f = *c_.pages().field(n);
    f.caret = edit->cursorPosition();
    const std::string filtered = c_.pages().filterPaste(n, s(text));
    if (f.isPosition()) {
        refreshField(n);
        return;
    }
    edit->insert(q(filtered));
    c_.pages().textChanged(n, s(edit->text()));
}

void frmDataEdit::pageFocusOut(int n, Qt::FocusReason reason) {
    if (committing_ || reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason) return;
    if (c_.state.currentField != n || c_.state.editState == 0) return;
    committing_ = true;
    const bool ok = c_.pages().CommitFieldEdit();
    committing_ = false;
    refreshField(n);
    refreshMenus();
    if (!ok) {
        // The value failed its check: the focus stays in the field.
        QWidget* w = fields_[n];
        QMetaObject::invokeMethod(
            this,
            [w] {
                // The message box had the activation; the editor takes it back
                // (a window manager may hand it on late or elsewhere).
                w->activateWindow();
                w->setFocus(Qt::OtherFocusReason);
                if (auto* e = qobject_cast<QLineEdit*>(w)) e->selectAll();
            },
            Qt::QueuedConnection);
    }
}

void frmDataEdit::relativeAngle() {
    PageFields& pages = c_.pages();
    if (!c_.commitPending()) return;
    const int course = pages.relAngleCourse();
    const int old = pages.relAngleCurrent();
    float angle = static_cast<float>(old);
    bool canceled = true;
    gridAngleDialog(static_cast<float>(course), angle, canceled);
    if (!canceled) pages.applyRelAngle(angle, old);
    refreshMenus();
    if (QWidget* w = fieldWidget(pages.gridAngleField)) w->setFocus(Qt::OtherFocusReason);
}

void frmDataEdit::redrawDiagramSoon() {
    // A change of any field redraws the picture on show once, after the
    // command that changed it (which may change many fields) is done.
    if (diagramRedrawDue_ || !diagram_->isVisible()) return;
    diagramRedrawDue_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            diagramRedrawDue_ = false;
            if (diagram_->isVisible() && diagramPage_ == c_.state.currentPage) showDiagram(diagramKind_, diagramPage_);
        },
        Qt::QueuedConnection);
}

void frmDataEdit::showDiagram(DiagramKind kind, int page) {
    diagramKind_ = kind;
    diagramPage_ = page;
    const DiagramFields fields = diagramFields(c_.pages());
    QImage picture;
    switch (kind) {
        case DiagramKind::ArrayPattern:
            picture =
                ShowArrayPattern(fields.arrayType, QSize(px(kArrayPatternBox.width), px(kArrayPatternBox.height)));
            break;
        case DiagramKind::ServiceVolume:
            if (auto out =
                    DrawServiceVolumeDiagram(fields, {px(kServiceVolumeBox.width), px(kServiceVolumeBox.height)}))
                picture = diagramImage(*out);
            break;
        case DiagramKind::Grid:
            if (auto out = DrawGridDiagram(fields, {px(kGridBox.width), px(kGridBox.height)}))
                picture = diagramImage(*out);
            break;
        default: break;
    }
    if (picture.isNull()) {
        diagram_->hide();
        return;
    }
    diagram_->setPixmap(QPixmap::fromImage(picture));
    diagram_->setFixedSize(picture.size());
    // The box stands in the client area as far from its edge as the page's
    // first control stands from the other one: navaid page top right, from
    // the first field; simulation page bottom left, from the Grid Type list.
    QWidget* client = centralWidget();
    if (diagram_->parentWidget() != client) diagram_->setParent(client);
    auto twips = [](int pixels) { return pixels * kTwipsPerPixel; };
    const TwipsSize box{twips(picture.width()), twips(picture.height())};
    TwipsRect at{};
    if (page == 2) {
        const std::vector<int> numbers = c_.pages().fieldNumbers(2);
        QWidget* first = numbers.empty() ? nullptr : fieldWidget(numbers.front());
        const QPoint p = first ? first->mapTo(client, QPoint(0, 0)) : QPoint(px(240), px(240));
        at = placeOnNavaidPage(box, twips(client->width()), twips(p.x()), twips(p.y()));
    } else {
        QWidget* grid = fieldWidget(c_.pages().gridTypeField);
        const QPoint p = grid ? grid->mapTo(client, QPoint(0, 0)) : QPoint(px(240), 0);
        at = placeOnSimulationPage(box, twips(client->height()), twips(p.x()));
    }
    diagram_->move(px(at.left), px(at.top));
    diagram_->show();
    diagram_->raise();
}

bool frmDataEdit::fieldEvent(int n, QEvent* event) {
    // A page's list or check box: its focus and its Return, Enter and Escape.
    if (event->type() == QEvent::FocusIn && !committing_) {
        const DiagramKind d = c_.pages().gotFocus(n);
        showDiagram(d, c_.pages().field(n)->page);
    } else if (event->type() == QEvent::FocusOut) {
        const auto r = static_cast<QFocusEvent*>(event)->reason();
        if (!committing_ && r != Qt::PopupFocusReason && r != Qt::ActiveWindowFocusReason &&
            c_.state.currentField == n && c_.state.editState != 0) {
            committing_ = true;
            c_.pages().CommitFieldEdit();
            committing_ = false;
            refreshMenus();
        }
    } else if (event->type() == QEvent::KeyPress) {
        auto* ke = static_cast<QKeyEvent*>(event);
        if (ke->key() == Qt::Key_Return || ke->key() == Qt::Key_Enter) {
            focusNextChild();
            return true;
        }
        if (ke->key() == Qt::Key_Escape) {
            c_.pages().escape(n);
            refreshField(n);
            return true;
        }
    }
    return false;
}

}  // namespace crv::editors
