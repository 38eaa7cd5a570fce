#pragma once
// The receiver points an evaluation works on, read once into memory from the
// file the grid wrote. Section ends (id 9999) stay in place so an evaluation
// can close its plots' sections where the point file closes its own.
#include <string>
#include <vector>

#include "large_memory.h"
#include "crv/formats/plot_file.h"

namespace crv::engine {

// Large, and left unwritten when sized: the reader fills it on all threads.
using PointRecords = UnwrittenVector<crv::formats::ReceiverPoint>;

struct ReceiverPointFile {
    crv::formats::PlotHeader header;
    PointRecords points;  // in file order, section ends included
    std::size_t recordCount() const { return points.size(); }
};

// Reads the whole file. A missing, short or damaged file fails under the
// routine's name with a message naming the file.
ReceiverPointFile readReceiverPointFile(const std::string& path, std::string_view routine);

}  // namespace crv::engine
