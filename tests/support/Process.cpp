#include "support/Process.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

extern char** environ;

namespace kz8test {
namespace {

std::string ShellQuoted(const std::string& word) {
  std::string q = "'";
  for (const char c : word) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

}  // namespace

std::string FileText(const std::string& path) {
  return (std::ostringstream() << std::ifstream(path).rdbuf()).str();
}

// The program reads its input from a file and writes its output to files, so
// that nothing waits on a pipe whatever order the program reads and writes in.
Outcome RunProgram(const std::vector<std::string>& argv, const std::string& input) {
  static std::atomic<int> counter{0};
  const std::string base =
      (std::filesystem::temp_directory_path() /
       ("kz8mrp-run-" + std::to_string(::getpid()) + "-" + std::to_string(counter++)))
          .string();
  const std::string in = base + ".in", out = base + ".out", err = base + ".err";
  std::ofstream(in) << input;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, in.c_str(), O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, out.c_str(), O_WRONLY | O_CREAT, 0600);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, err.c_str(), O_WRONLY | O_CREAT, 0600);
  std::vector<char*> args;
  args.reserve(argv.size() + 1);
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  pid_t pid = -1;
  const int rc = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) throw std::runtime_error("cannot start " + argv.front());
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  Outcome o{WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status), FileText(out),
            FileText(err)};
  for (const std::string& file : {in, out, err}) std::filesystem::remove(file);
  return o;
}

Outcome RunKz8mrp(const std::vector<std::string>& words, const std::string& input) {
  std::vector<std::string> argv = {KZ8MRP_CLI};
  argv.insert(argv.end(), words.begin(), words.end());
  return RunProgram(argv, input);
}

Outcome RunKz8mrpUnprivileged(const std::vector<std::string>& words) {
  if (::geteuid() != 0) return RunKz8mrp(words);
  // A copy of the program where any user may run it, removed when the tests end.
  static const std::string program = [] {
    static const auto path =
        std::filesystem::temp_directory_path() / ("kz8mrp-cli-" + std::to_string(::getpid()));
    std::filesystem::copy_file(KZ8MRP_CLI, path, std::filesystem::copy_options::overwrite_existing);
    std::filesystem::permissions(path, static_cast<std::filesystem::perms>(0755));
    std::atexit([] {
      std::error_code ignored;
      std::filesystem::remove(path, ignored);
    });
    return path.string();
  }();
  std::vector<std::string> argv = {"runuser", "-u", "nobody", "--", program};
  argv.insert(argv.end(), words.begin(), words.end());
  return RunProgram(argv);
}

Outcome RunKz8mrpOnTerminal(const std::vector<std::string>& words, const std::string& keys) {
  std::string command = ShellQuoted(KZ8MRP_CLI);
  for (const std::string& w : words) command += " " + ShellQuoted(w);
  return RunProgram({"script", "-qec", command, "/dev/null"}, keys);
}

}  // namespace kz8test
