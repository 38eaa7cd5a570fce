// Replays a reader's seed corpus and a fixed, seeded set of mutations of it
// through the reader's fuzz entry. Deterministic: the same corpus gives the
// same inputs on every machine, so a failure found here can be repeated.
//
//   NAME_replay CORPUS_FOLDER [MUTATIONS_PER_SEED]
//
// Exit 0 when every input went through; a crash or a sanitizer report ends
// the process with the input's description on standard error first.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

using Bytes = std::vector<std::uint8_t>;

// Texts that readers of numbers and fixed columns must refuse or survive.
const char* const kTokens[] = {"1e308", "-1e308", "nan", "inf", "-inf", "2147483648", "-2147483649",
                               "99999999", "-0", "0", "9999", "65535", "\r\n", "\n", "\r", " ",
                               "\xb0", "\x7f", "$$$$", " $$$"};

std::uint32_t below(std::mt19937& rng, std::size_t n) { return n ? static_cast<std::uint32_t>(rng() % n) : 0; }

Bytes mutate(const Bytes& seed, std::mt19937& rng) {
    Bytes b = seed;
    const int steps = 1 + static_cast<int>(below(rng, 4));
    for (int s = 0; s < steps; ++s) {
        switch (below(rng, 8)) {
        case 0:  // flip a bit
            if (!b.empty()) b[below(rng, b.size())] ^= static_cast<std::uint8_t>(1u << below(rng, 8));
            break;
        case 1:  // set a byte to anything
            if (!b.empty()) b[below(rng, b.size())] = static_cast<std::uint8_t>(rng());
            break;
        case 2:  // cut the end off
            b.resize(below(rng, b.size() + 1));
            break;
        case 3: {  // drop a run
            if (b.empty()) break;
            std::size_t at = below(rng, b.size());
            std::size_t n = std::min<std::size_t>(b.size() - at, 1 + below(rng, 16));
            b.erase(b.begin() + static_cast<long>(at), b.begin() + static_cast<long>(at + n));
            break;
        }
        case 4: {  // repeat a run
            if (b.empty()) break;
            std::size_t at = below(rng, b.size());
            std::size_t n = std::min<std::size_t>(b.size() - at, 1 + below(rng, 64));
            Bytes run(b.begin() + static_cast<long>(at), b.begin() + static_cast<long>(at + n));
            b.insert(b.begin() + static_cast<long>(below(rng, b.size() + 1)), run.begin(), run.end());
            break;
        }
        case 5:
        case 6: {  // write a token over the bytes somewhere (a number field, a line end)
            const char* t = kTokens[below(rng, std::size(kTokens))];
            std::size_t n = std::strlen(t);
            std::size_t at = below(rng, b.size() + 1);
            for (std::size_t i = 0; i < n; ++i) {
                if (at + i < b.size())
                    b[at + i] = static_cast<std::uint8_t>(t[i]);
                else
                    b.push_back(static_cast<std::uint8_t>(t[i]));
            }
            break;
        }
        default: {  // a 4-byte field set to an extreme (record lengths, counts)
            if (b.size() < 4) break;
            std::size_t at = below(rng, b.size() - 3);
            static const std::uint32_t extremes[] = {0u, 1u, 0x7fffffffu, 0x80000000u, 0xffffffffu, 9999u, 12u};
            std::uint32_t v = extremes[below(rng, std::size(extremes))];
            std::memcpy(&b[at], &v, 4);
            break;
        }
        }
    }
    return b;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s CORPUS_FOLDER [MUTATIONS_PER_SEED]\n", argv[0]);
        return 2;
    }
    const int perSeed = argc > 2 ? std::atoi(argv[2]) : 200;
    std::vector<std::filesystem::path> files;
    for (const auto& e : std::filesystem::directory_iterator(argv[1]))
        if (e.is_regular_file()) files.push_back(e.path());
    std::sort(files.begin(), files.end());
    if (files.empty()) {
        std::fprintf(stderr, "%s: no seed in %s\n", argv[0], argv[1]);
        return 2;
    }
    long inputs = 0;
    for (const auto& path : files) {
        std::ifstream in(path, std::ios::binary);
        Bytes seed((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        std::fprintf(stderr, "seed %s\n", path.filename().c_str());
        LLVMFuzzerTestOneInput(seed.data(), seed.size());
        ++inputs;
        // The seed's own name fixes its mutations, so adding a seed changes no other's.
        std::mt19937 rng(static_cast<std::uint32_t>(std::hash<std::string>{}(path.filename().string()) & 0xffffffffu));
        for (int i = 0; i < perSeed; ++i) {
            Bytes m = mutate(seed, rng);
            // Say which input runs, so a crash names it; quiet otherwise.
            std::fprintf(stderr, "\rseed %s mutation %d   ", path.filename().c_str(), i);
            LLVMFuzzerTestOneInput(m.data(), m.size());
            ++inputs;
        }
        std::fprintf(stderr, "\n");
    }
    std::printf("%ld inputs replayed\n", inputs);
    return 0;
}
