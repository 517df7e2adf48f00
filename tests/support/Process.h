// Runs other programs of the build (the kz8mrp command, test helpers) for tests
// that need separate processes.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace kz8test {

// A program started now and finished later: several can run at once.
class ChildProcess {
 public:
  // Starts `argv[0]` with the arguments; standard error is the test's own.
  explicit ChildProcess(const std::vector<std::string>& argv);
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;
  ChildProcess(ChildProcess&&) = delete;
  ChildProcess& operator=(ChildProcess&&) = delete;
  ~ChildProcess();

  // Reads the whole output and waits for the end; returns the exit status.
  int Finish();
  const std::string& Output() const { return output_; }

 private:
  pid_t pid_ = -1;
  int out_ = -1;
  std::string output_;
};

// What a program did: its exit status and what it wrote.
struct Outcome {
  int status = -1;
  std::string out;
  std::string err;
};

// Runs a program to its end with `input` as its standard input.
Outcome RunProgram(const std::vector<std::string>& argv, const std::string& input = "");

// The built kz8mrp program with the given words.
Outcome RunKz8mrp(const std::vector<std::string>& words, const std::string& input = "");

// Runs the kz8mrp words on a pseudo-terminal that types `keys`; `out` is all
// the terminal showed.
Outcome RunKz8mrpOnTerminal(const std::vector<std::string>& words, const std::string& keys);

}  // namespace kz8test
