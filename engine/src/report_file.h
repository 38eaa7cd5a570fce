#pragma once
// The simulation report "Rfi.txt": Evaluate creates it, the later exports
// append their sections. Lines end in CR LF; the layouts are edit lists.
#include <string>
#include <vector>

#include "crv/platform/text_file.h"
#include "edit_list.h"

namespace crv::engine {

class ReportFile {
public:
    // Creates (replacing) or appends to folder + "Rfi.txt"; fails under the
    // routine's name when it cannot.
    void create(const std::string& runFolder, std::string_view routine);
    void append(const std::string& runFolder, std::string_view routine);

    void lines(const std::vector<std::string>& lines);
    void line(const std::string& line) { writer_.writeLine(line); }
    // Writes the layout with the values.
    void write(const EditFormat& layout, const std::vector<EditValue>& values = {}) { lines(layout.format(values)); }
    void write(std::string_view layout, const std::vector<EditValue>& values = {}) {
        lines(editLines(layout, values));
    }
    // One blank and 80 underscores, then an empty line.
    void separator();

    // Closes and keeps the file; a write error fails under the routine's name.
    void close(std::string_view routine);
    // A file that goes with the report (the pattern plots of its heading):
    // discarding the report removes it too.
    void noteCompanion(const std::string& path) { companions_.push_back(path); }
    // Closes and deletes the file and its companions (cancel or failure).
    void discard();
    bool isOpen() const { return writer_.isOpen(); }
    const std::string& path() const { return writer_.path(); }

private:
    void open(const std::string& runFolder, bool append, std::string_view routine);
    crv::platform::TextWriter writer_;
    std::vector<std::string> companions_;
};

}  // namespace crv::engine
