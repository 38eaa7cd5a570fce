#pragma once
// Support for reader fuzz entries. Each entry is a plain
//   extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
// that feeds the bytes to one reader and ignores its verdict: the reader may
// refuse anything, it must only never crash, hang or read out of bounds.
// Readers that take a path get the bytes through scratchFile().
#include <cstddef>
#include <cstdint>
#include <string>

namespace crv::fuzz {

// A file of this process's own (a private folder made once per process, so two
// runs at once never share it) holding exactly the bytes given; `name` is the
// file name inside that folder, for readers that look at the name.
std::string scratchFile(const std::uint8_t* data, std::size_t size, const std::string& name = "input");

// The private folder itself, ending in "/".
const std::string& scratchFolder();

}  // namespace crv::fuzz
