// Runs other programs of the build (the kz8mrp command, test helpers) for tests
// that need separate processes.
#pragma once

#include <string>
#include <vector>

namespace kz8test {

// What a program did: its exit status and what it wrote.
struct Outcome {
  int status = -1;
  std::string out;
  std::string err;
};

// The whole content of a file ("" when there is none).
std::string FileText(const std::string& path);

// Runs a program to its end with `input` as its standard input; several may
// run at once, each from a thread of its own.
Outcome RunProgram(const std::vector<std::string>& argv, const std::string& input = "");

// The built kz8mrp program with the given words.
Outcome RunKz8mrp(const std::vector<std::string>& words, const std::string& input = "");

// The built kz8mrp program run by a user who may not write what the test made:
// the test's own user, or "nobody" (through runuser, from a copy it may run)
// when the tests run as root, who may write anything.
Outcome RunKz8mrpUnprivileged(const std::vector<std::string>& words);

// Runs the kz8mrp words on a pseudo-terminal that types `keys`; `out` is all the terminal showed.
Outcome RunKz8mrpOnTerminal(const std::vector<std::string>& words, const std::string& keys);

}  // namespace kz8test
