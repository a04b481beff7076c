// The spellcheck program as a user runs it: list on a large English text,
// the ispell pipe on a text with many misspellings, and build of a 100k-word
// list. Each iteration runs the program once; peak_KB is its peak memory.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// The program beside this one in the build tree: build/bench -> build/tools.
std::string ToolPath() {
  return (fs::read_symlink("/proc/self/exe").parent_path().parent_path() / "tools" / "spellcheck")
      .string();
}

class Scratch {
 public:
  Scratch()
      : path_(fs::temp_directory_path() / ("spellcheck_bench_" + std::to_string(::getpid()))) {
    fs::create_directories(path_);
    // No user dictionary plays a part.
    ::setenv("SPELLCHECK_CUSTOM", (path_ / "cust.dic").c_str(), 1);
    ::unsetenv("SPELLCHECK_MAIN");
  }
  ~Scratch() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  std::string File(const std::string& name) const { return (path_ / name).string(); }

 private:
  fs::path path_;
};

Scratch& Folder() {
  static Scratch scratch;
  return scratch;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::size_t CountWords(const std::string& text) {
  std::istringstream in(text);
  return static_cast<std::size_t>(
      std::distance(std::istream_iterator<std::string>(in), std::istream_iterator<std::string>()));
}

// Debian's licence texts, repeated: about 660k words of English.
const std::string& LargeText() {
  static const std::string path = [] {
    std::string one;
    for (const char* name : {"GPL-3", "LGPL-3", "Apache-2.0", "MPL-2.0", "GFDL-1.3", "Artistic"}) {
      one += ReadFile(std::string("/usr/share/common-licenses/") + name);
    }
    std::string text;
    for (int i = 0; i < 40; ++i) text += one;
    const std::string file = Folder().File("large.txt");
    std::ofstream(file, std::ios::binary) << text;
    return file;
  }();
  return path;
}

// The licence text with every fifth word's neighbouring letters swapped.
const std::string& MisspelledText() {
  static const std::string path = [] {
    std::istringstream in(ReadFile(LargeText()).substr(0, 200000));
    std::mt19937 random(7);
    std::string text;
    std::string line;
    std::size_t n = 0;
    while (std::getline(in, line)) {
      std::istringstream words(line);
      std::string word;
      while (words >> word) {
        if (++n % 5 == 0 && word.size() >= 4) {
          const std::size_t p = 1 + random() % (word.size() - 2);
          std::swap(word[p], word[p + 1]);
        }
        text += word + " ";
      }
      text += "\n";
    }
    const std::string file = Folder().File("misspelled.txt");
    std::ofstream(file, std::ios::binary) << text;
    return file;
  }();
  return path;
}

// 100k distinct made-up words, in no order.
const std::string& WordList() {
  static const std::string path = [] {
    std::mt19937 random(11);
    std::string list;
    for (int i = 0; i < 100000; ++i) {
      std::string word;
      const int length = 3 + static_cast<int>(random() % 12);
      for (int j = 0; j < length; ++j) word += static_cast<char>('a' + random() % 26);
      list += word + "\n";
    }
    const std::string file = Folder().File("words.txt");
    std::ofstream(file, std::ios::binary) << list;
    return file;
  }();
  return path;
}

// Runs the program with `input` as standard input and output to /dev/null;
// returns its peak memory in kilobytes.
long RunProgram(const std::vector<std::string>& arguments, const std::string& input) {
  std::vector<std::string> args{ToolPath()};
  args.insert(args.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  const pid_t child = ::fork();
  if (child < 0) throw std::runtime_error("fork failed");
  if (child == 0) {
    const int in = ::open(input.empty() ? "/dev/null" : input.c_str(), O_RDONLY);
    const int out = ::open("/dev/null", O_WRONLY);
    ::dup2(in, 0);
    ::dup2(out, 1);
    ::dup2(out, 2);
    ::execv(argv[0], argv.data());
    ::_exit(127);
  }
  int status = 0;
  rusage usage{};
  ::wait4(child, &status, 0, &usage);
  if (!WIFEXITED(status) || WEXITSTATUS(status) > 1) throw std::runtime_error("the program failed");
  return usage.ru_maxrss;
}

void BM_ListLargeText(benchmark::State& state) {
  const std::string& text = LargeText();
  long peak = 0;
  for (auto _ : state) peak = RunProgram({"list", text}, "");
  state.counters["words"] = benchmark::Counter(static_cast<double>(CountWords(ReadFile(text))),
                                               benchmark::Counter::kIsIterationInvariantRate);
  state.counters["peak_KB"] = static_cast<double>(peak);
}
BENCHMARK(BM_ListLargeText)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PipeManyMisspellings(benchmark::State& state) {
  const std::string& text = MisspelledText();
  long peak = 0;
  for (auto _ : state) peak = RunProgram({"-a"}, text);
  state.counters["words"] = benchmark::Counter(static_cast<double>(CountWords(ReadFile(text))),
                                               benchmark::Counter::kIsIterationInvariantRate);
  state.counters["peak_KB"] = static_cast<double>(peak);
}
BENCHMARK(BM_PipeManyMisspellings)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Build100kWords(benchmark::State& state) {
  const std::string& list = WordList();
  const std::string output = Folder().File("built.dic");
  long peak = 0;
  for (auto _ : state) peak = RunProgram({"build", "--quiet", list, "-o", output}, "");
  state.counters["peak_KB"] = static_cast<double>(peak);
}
BENCHMARK(BM_Build100kWords)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_StartUp(benchmark::State& state) {
  long peak = 0;
  for (auto _ : state) peak = RunProgram({"-a"}, "");
  state.counters["peak_KB"] = static_cast<double>(peak);
}
BENCHMARK(BM_StartUp)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
