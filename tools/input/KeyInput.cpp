#include "input/KeyInput.h"

#if defined(_WIN32)
#include <conio.h>
#include <io.h>
#else
#include <poll.h>
#include <signal.h>
#include <termios.h>
#endif
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <iterator>

#include "errors/ToolError.h"

namespace spellcheck::tool {
namespace {

// One byte of `fd`; End at the end of input. Throws ToolError when reading fails.
int ReadByte(int fd) {
  unsigned char c = 0;
  while (true) {
    const auto got = ::read(fd, &c, 1);
    if (got == 1) return c;
    if (got == 0) return KeyInput::End;
    if (errno != EINTR) throw ToolError("cannot read the answers from standard input");
  }
}

bool Cancels(const std::string& line) {
  return line.find(static_cast<char>(KeyInput::Escape)) != std::string::npos ||
         line.find(static_cast<char>(KeyInput::Interrupt)) != std::string::npos;
}

class ScriptInput : public KeyInput {
 public:
  explicit ScriptInput(int fd) : fd_(fd) {}
  bool IsTerminal() const override { return false; }

  int Key() override {
    int c = ReadByte(fd_);
    while (c == '\n' || c == '\r') c = ReadByte(fd_);
    return c;
  }

  // Reads nothing beyond the line, so a script fed a key at a time is
  // answered at once.
  std::optional<std::string> Line() override {
    std::optional<std::string> line = ReadLine();
    // The key ended its line: the typed text is the next one.
    if (line && line->empty()) line = ReadLine();
    if (line && Cancels(*line)) return std::nullopt;
    return line;
  }

 private:
  std::optional<std::string> ReadLine() {
    std::string line;
    for (int c = ReadByte(fd_); c != '\n'; c = ReadByte(fd_)) {
      if (c == End) {
        if (line.empty()) return std::nullopt;
        break;
      }
      line += static_cast<char>(c);
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
  }

  int fd_;
};

#if defined(_WIN32)

// A console: keys without Enter through the C runtime; lines as typed.
class ConsoleInput : public KeyInput {
 public:
  bool IsTerminal() const override { return true; }
  int Key() override {
    const int c = _getch();
    if (c == 0 || c == 0xE0) {  // a function or arrow key: its second code follows
      static_cast<void>(_getch());
      return Escape;
    }
    return c == 0x1A ? End : c;  // Ctrl-Z ends the input, as it does on the console
  }
  std::optional<std::string> Line() override {
    std::string line;
    for (int c = std::getchar(); c != '\n'; c = std::getchar()) {
      if (c == EOF) return std::nullopt;
      line += static_cast<char>(c);
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (Cancels(line)) return std::nullopt;
    return line;
  }
};

#else

// The terminal's settings before raw mode, for the signal handler, which may
// do nothing but put them back (tcsetattr is safe in a handler) and die of
// the signal as it would have.
struct termios savedSettings;
volatile sig_atomic_t settingsSaved = 0;
constexpr int EndingSignals[] = {SIGHUP,  SIGINT,  SIGQUIT, SIGTERM,
                                 SIGPIPE, SIGALRM, SIGUSR1, SIGUSR2};
struct sigaction previousActions[sizeof EndingSignals / sizeof EndingSignals[0]];

extern "C" void RestoreAndDie(int signal) {
  if (settingsSaved) ::tcsetattr(STDIN_FILENO, TCSANOW, &savedSettings);
  // SA_RESETHAND gave the signal its default action back: it ends the
  // program once the handler returns.
  ::raise(signal);
}

class TerminalInput : public KeyInput {
 public:
  TerminalInput() {
    if (::tcgetattr(STDIN_FILENO, &savedSettings) != 0) {
      throw ToolError("cannot read the terminal's settings");
    }
    settingsSaved = 1;
    struct sigaction action = {};
    action.sa_handler = RestoreAndDie;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESETHAND;
    for (std::size_t i = 0; i < std::size(EndingSignals); ++i) {
      ::sigaction(EndingSignals[i], &action, &previousActions[i]);
    }
    raw_ = savedSettings;
    // No line editing, no echo, and Ctrl-C, Ctrl-\ and Ctrl-Z are keys, not signals.
    raw_.c_lflag &= static_cast<tcflag_t>(~(ICANON | ECHO | ISIG | IEXTEN));
    raw_.c_iflag &= static_cast<tcflag_t>(~(IXON | ICRNL | INLCR));
    raw_.c_cc[VMIN] = 1;
    raw_.c_cc[VTIME] = 0;
    // Lines are typed with the terminal's own editing and echo.
    line_ = savedSettings;
    line_.c_lflag |= ICANON | ECHO;
    line_.c_lflag &= static_cast<tcflag_t>(~ISIG);
    line_.c_iflag |= ICRNL;
    Apply(raw_);
  }

  ~TerminalInput() override {
    ::tcsetattr(STDIN_FILENO, TCSANOW, &savedSettings);
    settingsSaved = 0;
    for (std::size_t i = 0; i < std::size(EndingSignals); ++i) {
      ::sigaction(EndingSignals[i], &previousActions[i], nullptr);
    }
  }
  TerminalInput(const TerminalInput&) = delete;
  TerminalInput& operator=(const TerminalInput&) = delete;

  bool IsTerminal() const override { return true; }

  int Key() override {
    const int c = ReadByte(STDIN_FILENO);
    if (c == Escape) {
      // An arrow or function key sends Escape and more at once: all of it is
      // one Escape.
      pollfd waiting = {STDIN_FILENO, POLLIN, 0};
      while (::poll(&waiting, 1, 30) == 1 && (waiting.revents & POLLIN) != 0) {
        if (ReadByte(STDIN_FILENO) == End) break;
      }
    }
    return c;
  }

  std::optional<std::string> Line() override {
    Apply(line_);
    std::string line;
    int c = ReadByte(STDIN_FILENO);
    for (; c != End && c != '\n'; c = ReadByte(STDIN_FILENO)) line += static_cast<char>(c);
    Apply(raw_);
    if (c == End || Cancels(line)) return std::nullopt;
    return line;
  }

 private:
  static void Apply(const termios& settings) {
    if (::tcsetattr(STDIN_FILENO, TCSADRAIN, &settings) != 0) {
      throw ToolError("cannot set the terminal's mode");
    }
  }

  termios raw_ = {};
  termios line_ = {};
};

#endif

}  // namespace

std::unique_ptr<KeyInput> KeyInput::Script(int fd) {
  return std::make_unique<ScriptInput>(fd);
}

std::unique_ptr<KeyInput> KeyInput::ForStandardInput() {
#if defined(_WIN32)
  if (_isatty(_fileno(stdin))) return std::make_unique<ConsoleInput>();
#else
  if (::isatty(STDIN_FILENO)) return std::make_unique<TerminalInput>();
#endif
  return Script(STDIN_FILENO);
}

}  // namespace spellcheck::tool
