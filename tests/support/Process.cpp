#include "support/Process.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>

extern char** environ;

namespace kz8test {

ChildProcess::ChildProcess(const std::vector<std::string>& argv) {
  int pipe_fds[2];
  if (::pipe2(pipe_fds, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipe_fds[1], STDOUT_FILENO);
  std::vector<char*> args;
  args.reserve(argv.size() + 1);
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  const int rc = posix_spawn(&pid_, args[0], &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(pipe_fds[1]);
  out_ = pipe_fds[0];
  if (rc != 0) {
    pid_ = -1;
    throw std::runtime_error("cannot start " + argv.front());
  }
}

ChildProcess::~ChildProcess() {
  if (pid_ > 0) Finish();
  if (out_ >= 0) ::close(out_);
}

int ChildProcess::Finish() {
  char buf[4096];
  for (ssize_t n; (n = ::read(out_, buf, sizeof buf)) != 0;) {
    if (n > 0) output_.append(buf, static_cast<std::size_t>(n));
    if (n < 0 && errno != EINTR) break;
  }
  int status = 0;
  while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
  }
  pid_ = -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

Outcome RunProgram(const std::vector<std::string>& argv) {
  ChildProcess child(argv);
  const int status = child.Finish();
  return {status, child.Output()};
}

}  // namespace kz8test
