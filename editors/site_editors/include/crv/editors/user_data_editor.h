#pragma once
// The logic of the pattern and calibration editor: the data of one file, the
// texts its table and boxes show, every command and question. The window
// binds widgets to it; tests drive it alone.
#include <functional>
#include <string>
#include <vector>

#include "crv/editors/site_editor_host.h"
#include "crv/editors/user_data_file.h"

namespace crv::editors {

class UserDataEditor {
public:
    UserDataEditor(SiteEditorHost& host, bool patternMode);

    // Commits the edit the window has open; false when its value is invalid.
    // Commands that must not run past an invalid value call it first.
    std::function<bool()> commitPending = [] { return true; };

    bool patternMode() const { return patternMode_; }
    const UserData& data() const { return data_; }
    int kind() const { return data_.kind; }
    int scale() const { return data_.scale; }
    const UserDataKind& kindInfo() const { return userDataKind(data_.kind); }
    ValueCell valueCell() const { return crv::editors::valueCell(data_.kind, data_.scale); }
    std::string caption() const;
    const std::string& fileTitle() const { return fileTitle_; }
    bool changed() const { return changed_; }
    bool typing() const { return typing_; }
    void noteTyping() { typing_ = true; }
    bool closed() const { return closed_; }
    std::string helpTopic() const;

    // The table: one value row per shown point (row r is point r).
    int rows() const { return kindInfo().lastShownRow + 1; }
    std::string xText(int row) const;
    const std::string& cellText(int row) const { return cells_[static_cast<std::size_t>(row)]; }
    // A value read from a file outside the cell's range, not yet corrected.
    bool cellInvalid(int row) const { return invalid_[static_cast<std::size_t>(row)]; }
    bool anyInvalid() const;
    const std::string& descriptionText() const { return descriptionText_; }
    const std::string& gainText() const { return gainText_; }
    bool gainShown() const { return data_.kind == 3; }

    // Checks and stores an editor's text (messages through the host);
    // `before` is the text when the edit began. False when it is invalid.
    bool commitCell(int row, std::string& text, const std::string& before);
    bool commitDescription(std::string& text, const std::string& before);
    bool commitGain(std::string& text, const std::string& before);

    // Menu commands and option clicks; each returns whether it went through.
    bool New();
    bool Open();
    bool Save();
    bool Normalize();
    bool Plot();
    bool changeKind(int kind);
    void changeScale(int scale);
    // File > Exit and the close box: true when the editor closes.
    bool Exit();

    // The steps the commands are made of.
    void ClearData();
    void ShowData();
    void ReadGrid();
    bool SaveDataAs();
    // The pattern plot file's lines for the current data (Plot).
    std::vector<std::string> patternPlotLines() const;

private:
    enum class Prompt { Go, Stop };
    Prompt askToSave(const std::string& text, const std::string& title, bool evenWhenOnlyTyped);
    common::MessageAnswer say(const std::string& text, const std::string& title, common::MessageIcon icon,
                              common::MessageButtons buttons);

    SiteEditorHost& host_;
    bool patternMode_;
    UserData data_;
    std::string fileTitle_ = "untitled";
    std::vector<std::string> cells_;
    std::vector<bool> invalid_;
    std::string descriptionText_, gainText_;
    bool changed_ = false;
    bool typing_ = false;
    bool closed_ = false;
    bool browsedBefore_ = false;
};

}  // namespace crv::editors
