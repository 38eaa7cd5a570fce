#pragma once
// Fuzz entries of the three facility databases: the input is the database
// file; an area search around the seeds' region and a frequency search read it.
#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "crv50.h"
#include "fuzz_engine.h"

namespace crv::fuzz {

inline int searchDatabase(std::int16_t database, const char* fileName, float frequencyMHz, const std::uint8_t* data,
                          std::size_t size) {
    engineInput(data, size, fileName);
    const CrvSearchParams searches[] = {
        {1, 36.5f, 76.5f, 0, 0, 0, 0, 150.0f, 0},
        {2, 0, 0, 36.0f, 75.0f, 37.5f, 78.0f, 60.0f, 0},
        {0, 0, 0, 0, 0, 0, 0, 0, frequencyMHz},
    };
    for (const auto& p : searches) {
        std::int16_t status = 0, count = 0;
        SearchDB(database, &p, nullptr, &status, &count);
    }
    // The result lines are appended on every call: start each input afresh.
    const std::string temp = engineScratch().root + "tmp/";
    for (const char* name : {"RfiSrch1.tmp", "RfiSrch2.tmp"}) std::remove((temp + name).c_str());
    return 0;
}

}  // namespace crv::fuzz
