// Runs a fuzz target without libFuzzer: over the files named on the command line, then over
// a fixed number of inputs mutated from them with a fixed seed, so every run is repeatable.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

void run(const std::string& input) {
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(input.data()), input.size());
}

std::string mutate(std::string s, std::mt19937& rng) {
    const int edits = 1 + static_cast<int>(rng() % 8);
    for (int i = 0; i < edits; ++i) {
        const size_t at = s.empty() ? 0 : rng() % (s.size() + 1);
        switch (rng() % 6) {
        case 0:
            s.insert(at, 1, static_cast<char>(rng()));
            break;
        case 1:
            if (at < s.size()) s.erase(at, 1 + rng() % 16);
            break;
        case 2:
            if (at < s.size()) s[at] = static_cast<char>(rng());
            break;
        case 3:
            s.insert(at, rng() % 2 ? "\r" : "\n");
            break;
        case 4:
            s.insert(at, rng() % 2 ? "=" : "$");
            break;
        default:
            s.insert(at, std::string(rng() % 4096, static_cast<char>('0' + rng() % 10)));
            break;
        }
    }
    return s;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> seeds{std::string()};
    for (int i = 1; i < argc; ++i) {
        std::ifstream in(argv[i], std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        seeds.push_back(ss.str());
    }
    const char* env = std::getenv("FUZZ_RUNS");
    const int runs = env ? std::atoi(env) : 20000;
    std::mt19937 rng(20261209);
    for (const std::string& s : seeds)
        run(s);
    for (int i = 0; i < runs; ++i)
        run(mutate(seeds[rng() % seeds.size()], rng));
    std::printf("%zu seeds and %d mutated inputs ran\n", seeds.size(), runs);
    return 0;
}
