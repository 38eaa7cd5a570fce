// Fuzz entry: a calibration file read as "Antenna.cal" and as "Receiver.cal".
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "failure.h"
#include "fuzz_engine.h"
#include "pattern_files.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = crv::fuzz::engineInput(data, size, "user/Antenna.cal");
    try {
        std::vector<std::pair<double, double>> table;
        crv::engine::readAntennaCalibration(path, table, "ReadData       ");
    } catch (const crv::engine::EngineFailure&) {
    }
    try {
        std::array<double, 12> table{};
        crv::engine::readReceiverCalibration(path, table, "ReadData       ");
    } catch (const crv::engine::EngineFailure&) {
    }
    return 0;
}
