#pragma once
// What the case data editor window's parts share: the design's twips scale,
// the Latin-1 text of the case files and the key codes the controllers take.
#include <cstdint>
#include <string>

#include <QKeyEvent>
#include <QString>

namespace crv::editors::data_edit {

// The window's sizes are laid down in twips, fifteen to a pixel.
constexpr int kTwipsPerPixel = 15;
inline int px(int twips) { return twips / kTwipsPerPixel; }

// The case files and the controllers hold Latin-1 text.
inline QString q(const std::string& s) { return QString::fromLatin1(s.c_str(), static_cast<int>(s.size())); }
inline std::string s(const QString& t) { return t.toLatin1().toStdString(); }

// The character a key event carries, as a code of the system's character set.
inline std::int16_t keyCode(const QKeyEvent* e) {
    const QString t = e->text();
    if (t.isEmpty()) return -1;
    const ushort u = t.at(0).unicode();
    return u < 256 ? static_cast<std::int16_t>(u) : -1;
}

// The row commands' shortcuts that line edits and lists take for themselves.
inline bool isClashingShortcut(const QKeyEvent* e) {
    const auto mods = e->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier);
    const int k = e->key();
    if (mods == Qt::ControlModifier) return k == Qt::Key_A || k == Qt::Key_U || k == Qt::Key_D;
    if (mods == Qt::ShiftModifier) return k == Qt::Key_Insert || k == Qt::Key_Delete;
    return false;
}

// Tab or Shift+Tab without Ctrl or Alt; back is set for Shift+Tab.
inline bool isPlainTab(const QKeyEvent* e, bool& back) {
    const bool tab = e->key() == Qt::Key_Tab || e->key() == Qt::Key_Backtab;
    back = e->key() == Qt::Key_Backtab || (e->modifiers() & Qt::ShiftModifier);
    return tab && !(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
}

}  // namespace crv::editors::data_edit
