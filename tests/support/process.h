#pragma once
// Runs a program as the tests run vekla-convert: in `home`, with HOME there
// too, so that no J-Pilot folder, settings or VEKLA_HOME of the machine is
// seen.
#include <sys/resource.h>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <csignal>

namespace vekla::test {

struct Result {
  int exitCode = -1;  // -1: it did not finish in time, or crashed
  QString out, err;
};

inline QProcessEnvironment TestEnvironment(const QString& home) {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("HOME"), home);
  env.remove(QStringLiteral("JPILOT_HOME"));
  env.remove(QStringLiteral("VEKLA_HOME"));
  return env;
}

// `fileSizeLimit` > 0: the program runs under that file-size limit, with
// the signal a write past it sends at its default (the program must ignore
// it itself). `extraEnv`: variables set on top of the test environment;
// `unset`: variables taken out of it.
inline Result RunIn(const QString& home, const QString& program, const QStringList& args, const QString& input = {},
                    rlim_t fileSizeLimit = 0, const QProcessEnvironment& extraEnv = {},
                    const QStringList& unset = {}) {
  QProcess p;
  QProcessEnvironment env = TestEnvironment(home);
  env.insert(extraEnv);
  for (const QString& name : unset) env.remove(name);
  p.setProcessEnvironment(env);
  if (fileSizeLimit > 0) {
    p.setChildProcessModifier([fileSizeLimit] {
      std::signal(SIGXFSZ, SIG_DFL);
      const rlimit lim{fileSizeLimit, fileSizeLimit};
      setrlimit(RLIMIT_FSIZE, &lim);
    });
  }
  p.setWorkingDirectory(home);
  if (!input.isEmpty()) p.setStandardInputFile(input);
  p.start(program, args);
  Result r;
  if (!p.waitForFinished(60000)) return r;
  r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
  r.out = QString::fromUtf8(p.readAllStandardOutput());
  r.err = QString::fromUtf8(p.readAllStandardError());
  return r;
}

}  // namespace vekla::test
