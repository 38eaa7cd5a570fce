#pragma once
// The logic of the receiver test points editor: up to 5000 positions in one of
// four formats, the texts of the table and every command. The window binds
// widgets to it; tests drive it alone.
#include <functional>
#include <string>
#include <vector>

#include "crv/common/field_check.h"
#include "crv/editors/rcvr_points_file.h"
#include "crv/editors/site_editor_host.h"

namespace crv::editors {

class RcvrPointsEditor {
public:
    explicit RcvrPointsEditor(SiteEditorHost& host);

    std::function<bool()> commitPending = [] { return true; };

    int format() const { return format_; }
    std::string caption() const { return " CRV Receiver Points -- " + fileTitle_; }
    const std::string& fileTitle() const { return fileTitle_; }
    bool changed() const { return changed_; }
    bool typing() const { return typing_; }
    void noteTyping() { typing_ = true; }
    bool closed() const { return closed_; }

    // The table: rows 1..5000 (index 0..4999), columns 1..3.
    static constexpr int kRows = kMaxRcvrPoints;
    std::string heading(int column) const;
    // The field record of a column in the current format (kind, width, range).
    common::FieldCheck columnRecord(int column) const;
    const std::string& cellText(int row, int column) const;
    bool rowInvalid(int row) const { return invalid_[static_cast<std::size_t>(row)]; }
    bool anyInvalid() const;
    const std::string& descriptionText() const { return descriptionText_; }
    const std::vector<RcvrPoint>& points() const { return points_; }

    bool commitCell(int row, int column, std::string& text, const std::string& before);
    bool commitDescription(std::string& text, const std::string& before);

    bool New();
    bool Open();
    bool Import();
    bool Save();
    // A click on a position format or notation option; the values stay.
    void changeFormat(int format);
    bool Exit();

    void ClearData();
    void ShowData();
    void ReadGrid();
    bool SaveDataAs();

private:
    enum class Prompt { Go, Stop };
    Prompt askToSave(const std::string& text, const std::string& title);
    common::MessageAnswer say(const std::string& text, const std::string& title, common::MessageIcon icon,
                              common::MessageButtons buttons);
    std::string formatValue(double value, int column, bool invalid) const;
    void takeRead(const RcvrPointsRead& read, const std::string& path, const std::string& title);

    SiteEditorHost& host_;
    int format_ = 1;
    std::string fileTitle_ = "untitled";
    std::string descriptionText_;
    std::vector<RcvrPoint> points_;
    std::vector<std::string> cells_;  // kRows x 3
    std::vector<bool> invalid_;
    bool changed_ = false;
    bool typing_ = false;
    bool closed_ = false;
    bool browsedBefore_ = false;
    bool markedByFormat_ = false;  // the marks came from a change of format
};

}  // namespace crv::editors
