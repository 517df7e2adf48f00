// Runs another program of the build (the kz8mrp command, test helpers) with
// its standard output captured, for tests that need separate processes.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace kz8test {

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

// Runs a program to its end: its exit status and output.
struct Outcome {
  int status;
  std::string output;
};
Outcome RunProgram(const std::vector<std::string>& argv);

}  // namespace kz8test
