// Talks the ispell "-a" pipe protocol with a checker and times each word:
// starts COMMAND, reads its banner line, then for each line of WORDS sends
// "^word", reads the answer up to its empty line and prints
// "MICROSECONDS<TAB>ANSWER-LINE<TAB>ANSWER-LINE...". The checker must flush
// its answer after each line (aspell and hunspell do). POSIX only.
//
// Usage: pipe_timer WORDS COMMAND [ARGUMENT...]
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>

namespace {

bool ReadLine(std::FILE* in, std::string& line) {
  line.clear();
  for (int c; (c = std::fgetc(in)) != EOF;) {
    if (c == '\n') return true;
    line.push_back(static_cast<char>(c));
  }
  return !line.empty();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::cerr << "usage: pipe_timer WORDS COMMAND [ARGUMENT...]\n";
    return 2;
  }
  std::ifstream words(argv[1], std::ios::binary);
  if (!words) {
    std::cerr << "pipe_timer: cannot read " << argv[1] << "\n";
    return 2;
  }
  int to_child[2], from_child[2];
  if (pipe(to_child) != 0 || pipe(from_child) != 0) {
    std::perror("pipe_timer: pipe");
    return 1;
  }
  const pid_t child = fork();
  if (child < 0) {
    std::perror("pipe_timer: fork");
    return 1;
  }
  if (child == 0) {
    dup2(to_child[0], 0);
    dup2(from_child[1], 1);
    close(to_child[0]);
    close(to_child[1]);
    close(from_child[0]);
    close(from_child[1]);
    execvp(argv[2], argv + 2);
    std::perror("pipe_timer: exec");
    _exit(127);
  }
  close(to_child[0]);
  close(from_child[1]);
  std::FILE* send = fdopen(to_child[1], "w");
  std::FILE* answers = fdopen(from_child[0], "r");

  std::string line;
  if (!ReadLine(answers, line)) {
    std::cerr << "pipe_timer: " << argv[2] << " gave no banner\n";
    return 1;
  }
  int status = 0;
  for (std::string word; std::getline(words, word);) {
    const auto start = std::chrono::steady_clock::now();
    std::fprintf(send, "^%s\n", word.c_str());
    std::fflush(send);
    std::string answer;
    bool ended = false;
    while (ReadLine(answers, line)) {
      if (line.empty()) {
        ended = true;
        break;
      }
      answer += '\t';
      answer += line;
    }
    const auto micros =
        std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start);
    if (!ended) {
      std::cerr << "pipe_timer: " << argv[2] << " stopped answering at \"" << word << "\"\n";
      status = 1;
      break;
    }
    std::printf("%.1f%s\n", micros.count(), answer.c_str());
  }
  std::fclose(send);
  std::fclose(answers);
  int child_status = 0;
  waitpid(child, &child_status, 0);
  return status;
}
