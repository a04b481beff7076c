// The tool's test runner on POSIX: the program runs as a child process with
// pipes for its standard streams (Win32ToolRunner.cpp is the Windows one).
#include "ToolRunner.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>
#include <utility>

namespace spellcheck::testing {

std::string ToolPath() {
  return SPELLCHECK_TOOL_PATH;
}

namespace {

struct Pipe {
  int fds[2] = {-1, -1};
  Pipe() {
    if (::pipe2(fds, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
  }
  ~Pipe() {
    CloseRead();
    CloseWrite();
  }
  void CloseRead() {
    if (fds[0] >= 0) ::close(fds[0]);
    fds[0] = -1;
  }
  void CloseWrite() {
    if (fds[1] >= 0) ::close(fds[1]);
    fds[1] = -1;
  }
};

// The program's arguments and environment for one run, as execve takes them.
struct CommandLine {
  explicit CommandLine(const ToolRun& run) : args{ToolPath()}, env{"PATH=/usr/bin:/bin"} {
    args.insert(args.end(), run.arguments.begin(), run.arguments.end());
    for (const auto& [name, value] : run.environment) env.push_back(name + "=" + value);
    // The system's Hunspell dictionaries only where a test names their folders.
    if (run.environment.count("SPELLCHECK_HUNSPELL_PATH") == 0) {
      env.push_back("SPELLCHECK_HUNSPELL_PATH=");
    }
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    for (auto& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
  }
  CommandLine(const CommandLine&) = delete;  // argv and envp point into args and env
  CommandLine& operator=(const CommandLine&) = delete;
  std::vector<std::string> args, env;
  std::vector<char*> argv, envp;
};

}  // namespace

ToolResult RunTool(const ToolRun& run) {
  Pipe in, out, err;
  CommandLine command(run);

  const pid_t child = ::fork();
  if (child < 0) throw std::runtime_error("fork failed");
  if (child == 0) {
    ::dup2(in.fds[0], 0);
    ::dup2(out.fds[1], 1);
    ::dup2(err.fds[1], 2);
    if (!run.workingFolder.empty() && ::chdir(run.workingFolder.c_str()) != 0) ::_exit(126);
    ::execve(command.argv[0], command.argv.data(), command.envp.data());
    ::_exit(127);
  }
  in.CloseRead();
  out.CloseWrite();
  err.CloseWrite();

  ToolResult result;
  std::size_t written = 0;
  if (run.input.empty()) in.CloseWrite();
  ::signal(SIGPIPE, SIG_IGN);
  while (out.fds[0] >= 0 || err.fds[0] >= 0) {
    pollfd fds[3] = {{out.fds[0], POLLIN, 0}, {err.fds[0], POLLIN, 0}, {in.fds[1], POLLOUT, 0}};
    if (::poll(fds, 3, -1) < 0) {
      if (errno == EINTR) continue;
      break;
    }
    char buffer[65536];
    for (int i = 0; i < 2; ++i) {
      if (fds[i].fd < 0 || fds[i].revents == 0) continue;
      const ssize_t got = ::read(fds[i].fd, buffer, sizeof buffer);
      if (got > 0) {
        (i == 0 ? result.out : result.err).append(buffer, static_cast<std::size_t>(got));
      } else {
        (i == 0 ? out : err).CloseRead();
      }
    }
    if (fds[2].fd >= 0 && fds[2].revents != 0) {
      const ssize_t put =
          ::write(in.fds[1], run.input.data() + written, run.input.size() - written);
      if (put > 0) written += static_cast<std::size_t>(put);
      if (put < 0 || written == run.input.size()) in.CloseWrite();
    }
  }
  in.CloseWrite();
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

ToolProcess::ToolProcess(const ToolRun& run) {
  Pipe in, out;
  CommandLine command(run);
  pid_ = ::fork();
  if (pid_ < 0) throw std::runtime_error("fork failed");
  if (pid_ == 0) {
    ::dup2(in.fds[0], 0);
    ::dup2(out.fds[1], 1);
    if (!run.workingFolder.empty() && ::chdir(run.workingFolder.c_str()) != 0) ::_exit(126);
    ::execve(command.argv[0], command.argv.data(), command.envp.data());
    ::_exit(127);
  }
  input_ = in.fds[1];
  in.fds[1] = -1;
  output_ = out.fds[0];
  out.fds[0] = -1;
}

ToolProcess::~ToolProcess() {
  if (input_ >= 0) ::close(input_);
  if (output_ >= 0) ::close(output_);
  int status = 0;
  if (pid_ > 0) {
    while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
  }
}

void ToolProcess::Send(const std::string& text) {
  ::signal(SIGPIPE, SIG_IGN);
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t put = ::write(input_, text.data() + done, text.size() - done);
    if (put <= 0) return;
    done += static_cast<std::size_t>(put);
  }
}

std::string ToolProcess::ReadUntil(const std::string& end) {
  while (!pending_.ends_with(end)) {
    pollfd fd{output_, POLLIN, 0};
    if (::poll(&fd, 1, 5000) <= 0) break;
    char buffer[4096];
    const ssize_t got = ::read(output_, buffer, sizeof buffer);
    if (got <= 0) break;
    pending_.append(buffer, static_cast<std::size_t>(got));
  }
  return std::exchange(pending_, std::string());
}

}  // namespace spellcheck::testing
