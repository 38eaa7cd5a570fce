#pragma once
// File units 1..255, as the engine's file handling counts them. An engine
// routine takes a unit just before each open and gives it back when it closes
// the file (the object going out of scope). When every unit is taken the open
// fails with a message instead of waiting.
#include <string_view>

namespace crv::engine {

class FileUnit {
public:
    explicit FileUnit(std::string_view routine);
    ~FileUnit();
    FileUnit(const FileUnit&) = delete;
    FileUnit& operator=(const FileUnit&) = delete;
    int number() const { return number_; }

private:
    int number_;
};

}  // namespace crv::engine
