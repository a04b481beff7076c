// The tool's test runner on Windows: the program runs as a child process
// with pipes for its standard streams. It writes text mode, so the runner
// reads its line ends back as "\n", as a Windows text reader does.

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <algorithm>
#include <map>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <utility>

#include "ToolRunner.h"

namespace spellcheck::testing {

// The build names the program by its path on the build machine; under Wine,
// drive Z: is the build machine's root.
std::string ToolPath() {
  std::string path = SPELLCHECK_TOOL_PATH;
  if (!path.empty() && path[0] == '/') path = "Z:" + path;
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path;
}

namespace {

class Handle {
 public:
  Handle() = default;
  explicit Handle(HANDLE handle) : handle_(handle) {}
  Handle(Handle&& other) noexcept : handle_(other.Release()) {}
  Handle& operator=(Handle&& other) noexcept {
    Reset(other.Release());
    return *this;
  }
  ~Handle() { Reset(nullptr); }
  HANDLE Get() const { return handle_; }
  HANDLE Release() { return std::exchange(handle_, nullptr); }
  void Reset(HANDLE handle) {
    if (handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE) ::CloseHandle(handle_);
    handle_ = handle;
  }

 private:
  HANDLE handle_ = nullptr;
};

// A pipe whose `childEnd` is inherited by the child and whose other end is not.
struct Pipe {
  Handle read, write;
  explicit Pipe(bool childReads) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE r = nullptr, w = nullptr;
    if (!::CreatePipe(&r, &w, &inherit, 0)) throw std::runtime_error("CreatePipe failed");
    read.Reset(r);
    write.Reset(w);
    ::SetHandleInformation(childReads ? write.Get() : read.Get(), HANDLE_FLAG_INHERIT, 0);
  }
};

// One argument as the C runtime's command-line parser reads it back.
std::string Quoted(const std::string& argument) {
  std::string quoted = "\"";
  std::size_t backslashes = 0;
  for (const char c : argument) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    quoted.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
    backslashes = 0;
    quoted += c;
  }
  quoted.append(backslashes * 2, '\\');
  return quoted + "\"";
}

std::string CommandLine(const ToolRun& run) {
  std::string line = Quoted(ToolPath());
  for (const std::string& argument : run.arguments) line += " " + Quoted(argument);
  return line;
}

// What Windows itself needs besides the run's own variables; nothing of the
// user's settings.
std::string EnvironmentBlock(const ToolRun& run) {
  std::map<std::string, std::string> variables;
  for (const char* name : {"SystemRoot", "SystemDrive", "PATH", "TEMP", "TMP"}) {
    char value[4096];
    const DWORD length = ::GetEnvironmentVariableA(name, value, sizeof value);
    if (length > 0 && length < sizeof value) variables[name] = value;
  }
  // The Hunspell dictionaries of the user's data folder only where a test names them.
  variables["SPELLCHECK_HUNSPELL_PATH"] = "";
  for (const auto& [name, value] : run.environment) variables[name] = value;
  std::string block;
  for (const auto& [name, value] : variables) block += name + "=" + value + '\0';
  return block + '\0';
}

struct Child {
  Handle process;
  DWORD id = 0;
};

Child Start(const ToolRun& run, HANDLE input, HANDLE output, HANDLE error) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = input;
  startup.hStdOutput = output;
  startup.hStdError = error;
  PROCESS_INFORMATION info{};
  std::string commandLine = CommandLine(run);
  std::string environment = EnvironmentBlock(run);
  const std::string tool = ToolPath();
  // Under Wine a busy machine now and then fails a start with an internal
  // error that a second try does not see: try a few times before giving up.
  for (int attempt = 1;; ++attempt) {
    if (::CreateProcessA(
            tool.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, environment.data(),
            run.workingFolder.empty() ? nullptr : run.workingFolder.c_str(), &startup, &info)) {
      break;
    }
    const DWORD error = ::GetLastError();
    if (attempt == 5 || error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
      throw std::runtime_error("CreateProcess failed: " + std::to_string(error));
    }
    ::Sleep(200 * attempt);
  }
  ::CloseHandle(info.hThread);
  return Child{Handle(info.hProcess), info.dwProcessId};
}

std::string ReadAll(HANDLE from) {
  std::string text;
  char buffer[65536];
  DWORD got = 0;
  while (::ReadFile(from, buffer, sizeof buffer, &got, nullptr) && got > 0)
    text.append(buffer, got);
  return text;
}

void WriteAll(HANDLE to, const std::string& text) {
  std::size_t done = 0;
  while (done < text.size()) {
    DWORD put = 0;
    const auto chunk = static_cast<DWORD>(std::min<std::size_t>(text.size() - done, 65536));
    if (!::WriteFile(to, text.data() + done, chunk, &put, nullptr) || put == 0) return;
    done += put;
  }
}

std::string WithUnixLineEnds(std::string text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    out += text[i];
  }
  return out;
}

int ExitStatus(HANDLE process) {
  ::WaitForSingleObject(process, INFINITE);
  DWORD code = 0;
  return ::GetExitCodeProcess(process, &code) ? static_cast<int>(code) : -1;
}

// Running programs of ToolProcess objects, by process id (what the object keeps).
std::mutex runningMutex;
std::map<int, Handle>& Running() {
  static std::map<int, Handle> running;
  return running;
}

}  // namespace

ToolResult RunTool(const ToolRun& run) {
  Pipe in(true), out(false), err(false);
  Child child = Start(run, in.read.Get(), out.write.Get(), err.write.Get());
  in.read.Reset(nullptr);
  out.write.Reset(nullptr);
  err.write.Reset(nullptr);

  ToolResult result;
  std::thread writer([&] {
    WriteAll(in.write.Get(), run.input);
    in.write.Reset(nullptr);
  });
  std::thread errors([&] { result.err = ReadAll(err.read.Get()); });
  result.out = ReadAll(out.read.Get());
  errors.join();
  writer.join();
  result.status = ExitStatus(child.process.Get());
  result.out = WithUnixLineEnds(std::move(result.out));
  result.err = WithUnixLineEnds(std::move(result.err));
  return result;
}

ToolProcess::ToolProcess(const ToolRun& run) {
  Pipe in(true), out(false);
  Child child = Start(run, in.read.Get(), out.write.Get(), out.write.Get());
  in.read.Reset(nullptr);
  out.write.Reset(nullptr);
  input_ = ::_open_osfhandle(reinterpret_cast<intptr_t>(in.write.Release()), _O_BINARY);
  output_ = ::_open_osfhandle(reinterpret_cast<intptr_t>(out.read.Release()), _O_BINARY);
  pid_ = static_cast<int>(child.id);
  std::lock_guard<std::mutex> guard(runningMutex);
  Running()[pid_] = std::move(child.process);
}

ToolProcess::~ToolProcess() {
  if (input_ >= 0) ::_close(input_);
  if (output_ >= 0) ::_close(output_);
  Handle process;
  {
    std::lock_guard<std::mutex> guard(runningMutex);
    const auto it = Running().find(pid_);
    if (it == Running().end()) return;
    process = std::move(it->second);
    Running().erase(it);
  }
  ExitStatus(process.Get());
}

void ToolProcess::Send(const std::string& text) {
  WriteAll(reinterpret_cast<HANDLE>(::_get_osfhandle(input_)), text);
}

std::string ToolProcess::ReadUntil(const std::string& end) {
  const auto pipe = reinterpret_cast<HANDLE>(::_get_osfhandle(output_));
  std::string raw;
  while (!WithUnixLineEnds(pending_ + raw).ends_with(end)) {
    // Up to five seconds for output to come.
    DWORD available = 0;
    for (int waited = 0; waited < 5000; waited += 10) {
      if (!::PeekNamedPipe(pipe, nullptr, 0, nullptr, &available, nullptr) || available > 0) break;
      ::Sleep(10);
    }
    if (available == 0) break;
    char buffer[4096];
    DWORD got = 0;
    if (!::ReadFile(pipe, buffer, sizeof buffer, &got, nullptr) || got == 0) break;
    raw.append(buffer, got);
  }
  pending_ += raw;
  return WithUnixLineEnds(std::exchange(pending_, std::string()));
}

}  // namespace spellcheck::testing
