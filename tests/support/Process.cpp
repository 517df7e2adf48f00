#include "support/Process.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <stdexcept>

extern char** environ;

namespace kz8test {
namespace {

struct Pipe {
  int read = -1;
  int write = -1;
  Pipe() {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
    read = fds[0];
    write = fds[1];
  }
  Pipe(const Pipe&) = delete;
  Pipe& operator=(const Pipe&) = delete;
  ~Pipe() {
    CloseRead();
    CloseWrite();
  }
  void CloseRead() {
    if (read >= 0) ::close(read);
    read = -1;
  }
  void CloseWrite() {
    if (write >= 0) ::close(write);
    write = -1;
  }
};

pid_t Spawn(const std::vector<std::string>& argv, posix_spawn_file_actions_t& actions) {
  std::vector<char*> args;
  args.reserve(argv.size() + 1);
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  pid_t pid = -1;
  const int rc = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) throw std::runtime_error("cannot start " + argv.front());
  return pid;
}

int Wait(pid_t pid) {
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

bool ReadSome(int fd, std::string& into) {
  char buf[4096];
  const ssize_t n = ::read(fd, buf, sizeof buf);
  if (n > 0) into.append(buf, static_cast<std::size_t>(n));
  return n > 0 || (n < 0 && errno == EINTR);
}

std::string ShellQuoted(const std::string& word) {
  std::string q = "'";
  for (const char c : word) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

}  // namespace

Outcome RunProgram(const std::vector<std::string>& argv, const std::string& input) {
  Pipe in, out, err;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, in.read, STDIN_FILENO);
  posix_spawn_file_actions_adddup2(&actions, out.write, STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, err.write, STDERR_FILENO);
  const pid_t pid = Spawn(argv, actions);
  in.CloseRead();
  out.CloseWrite();
  err.CloseWrite();
  // Small inputs fit the pipe; the program reads them when it asks.
  if (!input.empty() && ::write(in.write, input.data(), input.size()) < 0) {
    std::perror("writing the program's input");
  }
  in.CloseWrite();

  Outcome o;
  pollfd fds[2] = {{out.read, POLLIN, 0}, {err.read, POLLIN, 0}};
  std::string* into[2] = {&o.out, &o.err};
  int open = 2;
  while (open > 0) {
    if (::poll(fds, 2, -1) < 0 && errno != EINTR) break;
    for (int i = 0; i < 2; ++i) {
      if (fds[i].fd < 0 || fds[i].revents == 0) continue;
      if (!ReadSome(fds[i].fd, *into[i])) {
        fds[i].fd = -1;
        --open;
      }
    }
  }
  o.status = Wait(pid);
  return o;
}

Outcome RunKz8mrp(const std::vector<std::string>& words, const std::string& input) {
  std::vector<std::string> argv = {KZ8MRP_CLI};
  argv.insert(argv.end(), words.begin(), words.end());
  return RunProgram(argv, input);
}

Outcome RunKz8mrpOnTerminal(const std::vector<std::string>& words, const std::string& keys) {
  std::string command = ShellQuoted(KZ8MRP_CLI);
  for (const std::string& w : words) command += " " + ShellQuoted(w);
  return RunProgram({"script", "-qec", command, "/dev/null"}, keys);
}

}  // namespace kz8test
