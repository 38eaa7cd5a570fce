#pragma once
// Intermodulation combination lists: the FM stations whose third-order (or, on
// request, fifth-order) products fall on or near the navaid frequency, one
// fixed-column record per combination, written to a list file in the private
// temporary folder and sorted there so that the same combination found for two
// proponents stands twice in a row (lowest proponent first).
//
// Two-signal records (1X,I4,1X,I4,1X,I4,1X,F7.3), 23 characters: proponent,
// signal 1 (the doubled one), signal 2, product (MHz). Three-signal records
// (4(1X,I4),1X,F7.3), 28 characters: proponent, three slots, product.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <thread>
#include <span>
#include <vector>

#include "crv/platform/text_file.h"
#include "large_memory.h"

#include "state.h"

namespace crv::engine {

inline constexpr const char* kImod2ListName = "Imod2.tmp";
inline constexpr const char* kImod3ListName = "Imod3.tmp";

// Half-width of the product window around the navaid frequency for the
// airborne B1 check and for the ground COM check.
std::int32_t b1WindowKHz(const EngineState& state);
std::int32_t comWindowKHz(const EngineState& state);

// Which stations may take part (the ground COM check keeps those near its
// site); an empty vector lets every station in.
using StationFilter = std::vector<bool>;  // indexed by slot (1-based), slot 0 unused

// The lines of a list in memory.
using ListLines = LargeVector<std::string>;

// A list file written on a thread of its own while its caller goes on with
// the lines in memory (where the engine may use more than one thread); the
// file is whole once finish() has returned. A caller that never reads the file
// back has no need to wait for the writing before it.
class ListFile {
public:
    ListFile() = default;
    ListFile(const ListFile&) = delete;
    ListFile& operator=(const ListFile&) = delete;
    // Waits for the writing and the freeing (a failed call's file is then
    // removed by its caller).
    ~ListFile();
    // Waits for the writing; a write error removes the file and fails under
    // the list's routine with a message naming the file.
    void finish();
    // Frees the lines (a million short strings take a while) on a thread of
    // their own where the writing has one.
    void freeLines(ListLines&& lines);
    // Writes the chunks in order to the open file on a thread of its own
    // (used by the list builders).
    void start(crv::platform::TextWriter writer, std::vector<std::string> chunks, std::string_view routine);

private:
    void join();
    std::thread writer_, freer_;
    bool writeFailed_ = false;
    std::string path_, routine_;
};

// Build the list at `path` and return the number of records written. A list
// without records is deleted; a list of at least two records from at least two
// proponents is sorted by product key descending, then proponent ascending.
// File errors fail under `routine` with a message naming the file. When
// `written` is given it receives the file's lines, so a caller can use the
// list without reading it back; when `background` is given too, the file may
// still be being written when the call returns (see ListFile).
int ListImod2(const EngineState& state, const std::string& path, std::int32_t windowKHz,
              const StationFilter& takesPart, std::string_view routine,
              ListLines* written = nullptr, ListFile* background = nullptr);
int ListImod3(const EngineState& state, const std::string& path, std::int32_t windowKHz,
              const StationFilter& takesPart, std::string_view routine,
              ListLines* written = nullptr, ListFile* background = nullptr);

// One record read back.
struct ImodRecord {
    int proponent = 0;
    std::array<int, 3> slots{};  // signals 1..n; unused entries 0
    double productMHz = 0;
    bool repeat = false;         // same combination as the record before it (another proponent)
};
// A list's records (large: a list can hold millions).
using ImodRecords = UnwrittenVector<ImodRecord>;

// Reads the list of `signals` (2 or 3) signals in file order and marks the
// records whose combination columns repeat the previous record's.
ImodRecords readImodList(const std::string& path, int signals, std::string_view routine);
// The same for the list's lines already in memory (`path` names the list in
// the message of a damaged line).
ImodRecords parseImodList(std::span<const std::string> lines, int signals, const std::string& path,
                          std::string_view routine);

// Δ: how far the product lies from the navaid frequency, in whole kHz.
std::int32_t productOffsetKHz(const EngineState& state, double productMHz);

}  // namespace crv::engine
