#include "imod_lists.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <tuple>

#include "crv/platform/numbers.h"
#include "crv/platform/text_file.h"
#include "criteria_imod3.h"
#include "edit_list.h"
#include "failure.h"
#include "fixed_text.h"
#include "parallel.h"
#include "sort_file.h"

namespace crv::engine {

std::int32_t b1WindowKHz(const EngineState& state) {
    const int imod = state.options.intermodType;
    if (imod == 2 || imod == 4 || imod == 6) return 0;
    if (state.options.criteriaType == 2) return 100;
    if (imod == 5 || state.options.criteriaType == 4) return 150;
    return 200;
}

std::int32_t comWindowKHz(const EngineState& state) {
    const int imod = state.options.intermodType;
    return (imod == 2 || imod == 4 || imod == 6) ? 0 : 100;
}

std::int32_t productOffsetKHz(const EngineState& state, double productMHz) {
    return std::abs(state.navaid.frequencyKHz - static_cast<std::int32_t>(std::lround(1000 * productMHz + 0.2)));
}

namespace {
// Writes the chunks in order and closes the file; false when any of it failed.
bool writeChunks(crv::platform::TextWriter& writer, std::vector<std::string>& chunks) {
    for (std::string& chunk : chunks) {
        writer.writeRaw(chunk);
        chunk = {};
    }
    return writer.close().has_value();
}
}  // namespace

void ListFile::start(crv::platform::TextWriter writer, std::vector<std::string> chunks, std::string_view routine) {
    join();
    path_ = writer.path();
    routine_ = std::string(routine);
    writeFailed_ = false;
    writer_ = std::thread([this, w = std::move(writer), c = std::move(chunks)]() mutable {
        writeFailed_ = !writeChunks(w, c);
    });
}

ListFile::~ListFile() { join(); }

void ListFile::join() {
    if (writer_.joinable()) writer_.join();
    if (freer_.joinable()) freer_.join();
}

void ListFile::finish() {
    join();
    if (writeFailed_) {
        writeFailed_ = false;
        crv::platform::removeFile(path_);
        fail(routine_, "Could not write intermodulation list file:\r" + path_);
    }
}

void ListFile::freeLines(ListLines&& lines) {
    if (!writer_.joinable()) {
        lines = {};
        return;
    }
    if (freer_.joinable()) freer_.join();
    freer_ = std::thread([l = std::move(lines)]() mutable { l = {}; });
}

namespace {

bool fifthOrder(const EngineState& state) { return state.options.intermodType == 5 || state.options.intermodType == 6; }

bool takes(const StationFilter& filter, int slot) {
    return filter.empty() || filter[static_cast<std::size_t>(slot)];
}

// 0 <= n <= 9999 right-aligned in four columns, as editInteger(n, 4).
char* putFour(char* at, int n) {
    for (int i = 3; i >= 0; --i) {
        at[i] = n > 0 || i == 3 ? static_cast<char>('0' + n % 10) : ' ';
        n /= 10;
    }
    return at + 4;
}

// " PPPP SSSS SSSS[ SSSS] FFF.FFF": the fields as editInteger and
// editMHzOfKHz write them, made in place for the usual values (a list can
// hold a million records, and the general fields took most of its making).
std::string recordText(int proponent, const std::array<int, 3>& slots, int signals, std::int32_t productKHz) {
    bool usual = proponent >= 0 && proponent <= 9999 && productKHz >= 1000 && productKHz <= 999999;
    for (int k = 0; k < signals; ++k)
        usual = usual && slots[static_cast<std::size_t>(k)] >= 0 && slots[static_cast<std::size_t>(k)] <= 9999;
    if (!usual) {
        std::string line = " " + editInteger(proponent, 4);
        for (int k = 0; k < signals; ++k) line += " " + editInteger(slots[static_cast<std::size_t>(k)], 4);
        return line + " " + editMHzOfKHz(productKHz, 7);
    }
    char text[32];
    char* at = text;
    *at++ = ' ';
    at = putFour(at, proponent);
    for (int k = 0; k < signals; ++k) {
        *at++ = ' ';
        at = putFour(at, slots[static_cast<std::size_t>(k)]);
    }
    *at++ = ' ';
    at = putMHzOfKHz(at, productKHz);
    return std::string(text, static_cast<std::size_t>(at - text));
}

// Sorts the records as the list rules say, then writes them (no file for no
// records). Sorting before writing gives the file a sort of the written file
// would give.
int finishList(const EngineState& state, const std::string& path, ListLines& lines, int recordLength,
               std::string_view sortKey, std::string_view routine, ListLines* written, ListFile* background) {
    crv::platform::removeFile(path);
    if (lines.empty()) return 0;
    const bool sorted = state.proponents.size() >= 2 && lines.size() >= 2;
    if (sorted) sortRecords(lines, sortKey, recordLength);
    // The file's bytes made on all threads in chunks (a sorted list's lines
    // lose their trailing blanks and NULs in place), then written in order.
    constexpr std::size_t kChunk = 4096;
    std::vector<std::string> bytes((lines.size() + kChunk - 1) / kChunk);
    parallelFor(0, bytes.size(), [&](std::size_t c) {
        const std::size_t end = std::min(lines.size(), (c + 1) * kChunk);
        std::size_t size = 0;
        for (std::size_t i = c * kChunk; i < end; ++i) {
            std::string& l = lines[i];
            if (sorted) l.resize(l.find_last_not_of(std::string_view(" \0", 2)) + 1);
            size += l.size() + 2;
        }
        bytes[c].reserve(size);
        for (std::size_t i = c * kChunk; i < end; ++i) (bytes[c] += lines[i]) += "\r\n";
    });
    crv::platform::TextWriter writer;
    if (auto ok = writer.open(path); !ok) fail(routine, "Could not create intermodulation list file:\r" + ok.error());
    const int count = static_cast<int>(lines.size());
    if (background && written && threadCount() > 1) {
        background->start(std::move(writer), std::move(bytes), routine);
    } else if (!writeChunks(writer, bytes)) {
        crv::platform::removeFile(path);
        fail(routine, "Could not write intermodulation list file:\r" + path);
    }
    if (written) *written = std::move(lines);
    return count;
}

}  // namespace

int ListImod2(const EngineState& state, const std::string& path, std::int32_t windowKHz,
              const StationFilter& takesPart, std::string_view routine, ListLines* written,
              ListFile* background) {
    const std::int32_t navKHz = state.navaid.frequencyKHz;
    const int n = static_cast<int>(state.stations.size());
    const bool fifth = fifthOrder(state);
    ListLines lines;

    // The product of signal 1 doubled against signal 2; the fifth-order one
    // only when the third-order product of the same pair misses the window.
    auto tryPair = [&](int proponent, int s1, int s2) {
        const std::int32_t f1 = state.slot(s1).frequencyKHz;
        const std::int32_t f2 = state.slot(s2).frequencyKHz;
        std::int32_t product = 2 * f1 - f2;
        if (std::abs(product - navKHz) > windowKHz) {
            if (!fifth) return;
            product = 3 * f1 - 2 * f2;
            if (std::abs(product - navKHz) > windowKHz) return;
        }
        lines.push_back(recordText(proponent, {s1, s2, 0}, 2, product));
    };

    for (const int a : state.proponents) {
        if (!takes(takesPart, a)) continue;
        for (int j = n; j > a; --j)
            if (takes(takesPart, j)) tryPair(a, j, a);
        for (int j = n; j >= 1; --j)
            if (j != a && takes(takesPart, j)) tryPair(a, a, j);
        for (int j = a - 1; j >= 1; --j)
            if (takes(takesPart, j)) tryPair(a, j, a);
    }
    return finishList(state, path, lines, 23, "7:23:D 2:5:A", routine, written, background);
}

int ListImod3(const EngineState& state, const std::string& path, std::int32_t windowKHz,
              const StationFilter& takesPart, std::string_view routine, ListLines* written,
              ListFile* background) {
    const int n = static_cast<int>(state.stations.size());
    // Each proponent's triples are looked for in parts of about equal work
    // (ranges of the second station: the third runs from it to the last), on
    // all threads: a few proponents' whole searches would leave most threads
    // idle at the end. Then each proponent's records are made from its parts.
    using Found = std::vector<std::tuple<std::array<int, 3>, std::int32_t>>;
    constexpr int kParts = 8;
    std::vector<int> firstOfPart(kParts + 1, n + 1);
    {
        // Second station p is paired with the n - p stations after it.
        const double total = 0.5 * n * (n - 1.0);
        double before = 0;
        int part = 1;
        firstOfPart[0] = 1;
        for (int p = 1; p <= n && part < kParts; ++p) {
            before += n - p;
            while (part < kParts && before >= total * part / kParts)
                firstOfPart[static_cast<std::size_t>(part++)] = p + 1;
        }
    }
    const std::size_t proponents = state.proponents.size();
    std::vector<Found> foundInPart(proponents * kParts);
    parallelFor(0, foundInPart.size(), [&](std::size_t item) {
        const int a = state.proponents[item / kParts];
        if (!takes(takesPart, a)) return;
        const std::size_t part = item % kParts;
        Found& found = foundInPart[item];
        // A triple is always written with its slots ascending, whichever of
        // them is the proponent, so the same triple found for two proponents
        // gives the same combination columns and the same product.
        for (int p = firstOfPart[part]; p < firstOfPart[part + 1]; ++p) {
            if (p == a || !takes(takesPart, p)) continue;
            for (int q = p + 1; q <= n; ++q) {
                if (q == a || !takes(takesPart, q)) continue;
                std::array<int, 3> t{a, p, q};
                std::sort(t.begin(), t.end());
                const Imod3Match m = Imod3Chk(state, windowKHz, t[0], t[1], t[2]);
                if (m.match) found.emplace_back(t, static_cast<std::int32_t>(std::lround(m.productMHz * 1000)));
            }
        }
    });
    std::vector<std::vector<std::string>> byProponent(proponents);
    parallelFor(0, proponents, [&](std::size_t i) {
        Found found;
        for (std::size_t part = 0; part < kParts; ++part) {
            Found& f = foundInPart[i * kParts + part];
            found.insert(found.end(), f.begin(), f.end());
            f = {};
        }
        // Highest slots first, as the two-signal list runs from the last
        // slot down (each of a proponent's triples is another).
        std::sort(found.begin(), found.end(), [](const auto& x, const auto& y) { return std::get<0>(x) > std::get<0>(y); });
        byProponent[i].reserve(found.size());
        for (const auto& [t, product] : found) byProponent[i].push_back(recordText(state.proponents[i], t, 3, product));
    });
    // Joined in proponent order on all threads: each part moves to its own
    // place (a million records moved on one thread took a quarter second).
    std::vector<std::size_t> at(byProponent.size() + 1, 0);
    for (std::size_t i = 0; i < byProponent.size(); ++i) at[i + 1] = at[i] + byProponent[i].size();
    ListLines lines(at.back());
    parallelFor(0, byProponent.size(), [&](std::size_t i) {
        std::move(byProponent[i].begin(), byProponent[i].end(), lines.begin() + static_cast<std::ptrdiff_t>(at[i]));
        byProponent[i] = {};
    });
    return finishList(state, path, lines, 28, "7:28:D 2:5:A", routine, written, background);
}

ImodRecords readImodList(const std::string& path, int signals, std::string_view routine) {
    auto lines = crv::platform::readTextLines(path);
    if (!lines) fail(routine, "Could not read intermodulation list file:\r" + path);
    return parseImodList(*lines, signals, path, routine);
}

ImodRecords parseImodList(std::span<const std::string> lines, int signals, const std::string& path,
                          std::string_view routine) {
    const std::size_t keyEnd = signals == 2 ? 23 : 28;
    // A line's first keyEnd columns, blank-padded, without a copy on the heap
    // (a million copies made the parse wait on the allocator).
    struct Padded {
        char text[28];
        Padded(const std::string& line, std::size_t width) {
            const std::size_t n = std::min(line.size(), width);
            std::memcpy(text, line.data(), n);
            std::memset(text + n, ' ', width - n);
        }
    };
    ImodRecords records(lines.size());
    std::vector<char> damaged(lines.size(), 0);
    // Lines are read on all threads in chunks; each record's repeat mark
    // compares its key columns (signals and product) with the line before it.
    constexpr std::size_t kChunk = 1024;
    parallelFor(0, (lines.size() + kChunk - 1) / kChunk, [&](std::size_t chunk) {
        const std::size_t end = std::min(lines.size(), (chunk + 1) * kChunk);
        for (std::size_t i = chunk * kChunk; i < end; ++i) {
            const Padded padded(lines[i], keyEnd);
            const std::string_view line(padded.text, keyEnd);
            auto field = [&](std::size_t first, std::size_t width) { return line.substr(first - 1, width); };
            ImodRecord& r = records[i];
            r = ImodRecord{};
            auto proponent = crv::platform::parseInteger(field(2, 4));
            bool ok = proponent.has_value();
            r.proponent = ok ? static_cast<int>(*proponent) : 0;
            for (int k = 0; k < signals; ++k) {
                auto slot = crv::platform::parseInteger(field(7 + 5 * static_cast<std::size_t>(k), 4));
                ok = ok && slot.has_value();
                r.slots[static_cast<std::size_t>(k)] = slot ? static_cast<int>(*slot) : 0;
            }
            auto product = crv::platform::parseReal(field(keyEnd - 6, 7));
            ok = ok && product.has_value();
            if (!ok) {
                damaged[i] = 1;
                continue;
            }
            r.productMHz = *product;
            if (i > 0) {
                const Padded before(lines[i - 1], keyEnd);
                r.repeat = line.substr(6) == std::string_view(before.text, keyEnd).substr(6);
            }
        }
    });
    for (const char d : damaged)
        if (d) fail(routine, "Damaged intermodulation list file:\r" + path);
    return records;
}

}  // namespace crv::engine
