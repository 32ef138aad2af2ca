// Runs a fuzz entry point without libFuzzer: every seed of the given corpus
// folders first, then mutated seeds until the time is up. Built with the
// default compiler so every test run exercises the readers with hostile
// input; a crash, a sanitizer report or a hang fails the test.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

constexpr std::size_t MaxInputSize = 64 * 1024;

// Pieces that matter to the readers, spliced into inputs more often than
// random bytes would find them.
const std::vector<std::string> Tokens = {
    ",",     "\n",    "\r\n",  "*",     "/",     "+",     "!",     "~",     "$",     "I",     "-",
    "0",     "1",     "10",    "-1",    "32767", "32768", "99999", "1e308", "1/0",   "(((",   "PAT1,",
    "CUT1,", "ORD3,", "INV1,", "INV2,", "PRT1,", "PRT2,", "PRT5,", "BOARDS,", "PATTERNS,", "CUTS,",
    "PNL2,", "BRD2,", "PTN2,", "PTN3,", "*32767", "/*9/",  " l ",   "L"};

std::vector<std::string> LoadSeeds(int argc, char** argv, double& seconds) {
  std::vector<std::string> seeds;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--seconds" && i + 1 < argc) {
      seconds = std::atof(argv[++i]);
      continue;
    }
    std::error_code error;
    for (std::filesystem::recursive_directory_iterator it(arg, error), end; !error && it != end; it.increment(error)) {
      if (!it->is_regular_file()) continue;
      std::ifstream in(it->path(), std::ios::binary);
      seeds.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
  }
  if (seeds.empty()) seeds.emplace_back();
  return seeds;
}

std::string Mutate(std::string input, const std::vector<std::string>& seeds, std::mt19937& random) {
  auto pick = [&](std::size_t n) { return n == 0 ? 0 : std::uniform_int_distribution<std::size_t>(0, n - 1)(random); };
  const int rounds = 1 + static_cast<int>(pick(8));
  for (int r = 0; r < rounds; ++r) {
    const std::size_t at = pick(input.size() + 1);
    switch (pick(6)) {
      case 0:
        if (!input.empty()) input[pick(input.size())] = static_cast<char>(pick(256));
        break;
      case 1: input.insert(at, Tokens[pick(Tokens.size())]); break;
      case 2: input.erase(at, pick(16)); break;
      case 3: input.insert(at, input.substr(pick(input.size() + 1), pick(64))); break;
      case 4: {
        const std::string& other = seeds[pick(seeds.size())];
        input.insert(at, other.substr(pick(other.size() + 1), pick(256)));
        break;
      }
      default: input.insert(at, 1, static_cast<char>(pick(256))); break;
    }
  }
  if (input.size() > MaxInputSize) input.resize(MaxInputSize);
  return input;
}

void Run(const std::string& input) {
  LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(input.data()), input.size());
}

}  // namespace

int main(int argc, char** argv) {
  double seconds = 3;
  const std::vector<std::string> seeds = LoadSeeds(argc, argv, seconds);
  for (const std::string& seed : seeds) Run(seed);
  std::mt19937 random(12345);  // fixed: a failure reproduces
  const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  std::size_t runs = seeds.size();
  while (std::chrono::steady_clock::now() < end) {
    Run(Mutate(seeds[runs % seeds.size()], seeds, random));
    ++runs;
  }
  std::printf("%zu inputs run without a finding\n", runs);
  return 0;
}
