// Where fix reads its answers. From a terminal: one key at a time, without
// waiting for Enter, the terminal in raw mode while the object lives and put
// back as it was on every way out (a return, an exception, a signal that
// ends the program). From anything else (a pipe, a file): characters one at
// a time, so that a run can be scripted; line ends between keys are skipped.
#ifndef SPELLCHECK_TOOL_INPUT_KEYINPUT_H
#define SPELLCHECK_TOOL_INPUT_KEYINPUT_H

#include <memory>
#include <optional>
#include <string>

namespace spellcheck::tool {

class KeyInput {
 public:
  // The end of the input: no more keys will come.
  static constexpr int End = -1;
  // Keys the terminal sends that stand for themselves.
  static constexpr int Escape = 0x1B;
  static constexpr int Interrupt = 0x03;  // Ctrl-C (not a signal while keys are read)

  // For standard input: a terminal's keys when it is one, else a script.
  static std::unique_ptr<KeyInput> ForStandardInput();
  // A script read from the descriptor `fd` (kept open).
  static std::unique_ptr<KeyInput> Script(int fd);

  virtual ~KeyInput() = default;

  // Whether keys come from a terminal (the user sees what is typed).
  virtual bool IsTerminal() const = 0;
  // The next key (a byte), or End.
  virtual int Key() = 0;
  // A line typed after a key: a terminal echoes it and lets it be edited;
  // a script's is the rest of the line the key was on, or the next line when
  // the key ended its line. Without the line end; nullopt when the input
  // ended or the line was cancelled (Escape or Ctrl-C in it).
  virtual std::optional<std::string> Line() = 0;
};

}  // namespace spellcheck::tool

#endif
