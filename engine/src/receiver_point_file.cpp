#include "receiver_point_file.h"

#include "failure.h"

namespace crv::engine {

ReceiverPointFile readReceiverPointFile(const std::string& path, std::string_view routine) {
    crv::formats::RecordReader reader;
    if (!reader.open(path)) fail(routine, "Could not open receiver point file:\r" + path);
    ReceiverPointFile file;
    std::string error;
    auto header = crv::formats::readPlotHeader(reader, error);
    if (!header) fail(routine, "Damaged receiver point file:\r" + path + "\r" + error);
    file.header = *header;
    while (auto record = reader.next()) {
        auto point = crv::formats::decodeReceiverPoint(*record);
        if (!point) fail(routine, "Damaged receiver point file (short record):\r" + path);
        file.points.push_back(*point);
    }
    if (reader.damaged()) fail(routine, "Damaged receiver point file:\r" + reader.error());
    return file;
}

}  // namespace crv::engine
