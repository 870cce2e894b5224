#pragma once
// Runs a piece of a test in a child process under a limit the test itself
// must not live under: a file-size limit (every write past it fails with
// EFBIG, as on a full disk) or the rights of "nobody" when the tests run as
// root (so that file permissions count).
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <functional>
#include <string>

namespace vekla::test {

// The text `body` returns in the child, or "child failed" when the child
// did not finish (a signal killed it, or it ran for a minute: a write that
// blocks). `fileSizeLimit` 0: no limit. A write past the limit sends the
// signal SIGXFSZ, which ends a process unless it is ignored: with
// `ignoreFileSizeSignal` false the child leaves that to the code under test.
inline std::string InChild(const std::function<std::string()>& body, rlim_t fileSizeLimit, bool unprivileged,
                           bool ignoreFileSizeSignal = true) {
  int fds[2];
  if (pipe(fds) != 0) return "pipe failed";
  const pid_t pid = fork();
  if (pid == 0) {
    close(fds[0]);
    alarm(60);
    std::signal(SIGXFSZ, ignoreFileSizeSignal ? SIG_IGN : SIG_DFL);
    if (fileSizeLimit > 0) {
      const rlimit lim{fileSizeLimit, fileSizeLimit};
      setrlimit(RLIMIT_FSIZE, &lim);
    }
    if (unprivileged && geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(3);
    const std::string text = body();
    const ssize_t n = ::write(fds[1], text.data(), text.size());
    _exit(n == static_cast<ssize_t>(text.size()) ? 0 : 2);
  }
  close(fds[1]);
  std::string out;
  char buf[512];
  for (ssize_t n; (n = read(fds[0], buf, sizeof buf)) > 0;) out.append(buf, static_cast<size_t>(n));
  close(fds[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? out : "child failed";
}

}  // namespace vekla::test
