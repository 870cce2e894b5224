// One window per data folder: the folder's lock, the socket's name, the
// hand-over on the wire, and a start that takes the folder, hands its files
// to the window holding it, or is refused.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QMutex>
#include <QTemporaryDir>
#include <QThread>
#include <functional>

#include "commands/instance.h"
#include "workspace/folderlock.h"

using namespace vekla;

namespace {

// A child process that takes the lock of `folder`, says so, and then waits
// until told to end: by `release` (let go of the lock) or by `die` (end
// without letting go, as a killed program does).
class Holder {
 public:
  explicit Holder(const QString& folder) {
    int ready[2], go[2];
    if (pipe(ready) != 0 || pipe(go) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      close(ready[0]);
      close(go[1]);
      {
        FolderLock lock(folder);
        const char taken = lock.take() == FolderLock::Take::Taken ? 't' : 'n';
        if (write(ready[1], &taken, 1) != 1) _exit(2);
        char how = 0;
        if (read(go[0], &how, 1) != 1 || how == 'd') _exit(0);  // the lock file stays behind
      }  // the lock lets go
      _exit(0);
    }
    close(ready[1]);
    close(go[0]);
    go_ = go[1];
    char taken = 0;
    holds_ = read(ready[0], &taken, 1) == 1 && taken == 't';
    close(ready[0]);
  }
  ~Holder() { end('d'); }
  bool holds() const { return holds_; }
  qint64 pid() const { return pid_; }
  void end(char how) {
    if (pid_ <= 0) return;
    if (write(go_, &how, 1) != 1) {
    }
    close(go_);
    waitpid(pid_, nullptr, 0);
    pid_ = 0;
  }

 private:
  pid_t pid_ = 0;
  int go_ = -1;
  bool holds_ = false;
};

// A window's socket served on a thread of its own, so that a start in this
// thread can hand files to it.
class ServedWindow {
 public:
  explicit ServedWindow(const QString& name) {
    thread_.start();
    server_ = new InstanceServer;
    server_->moveToThread(&thread_);
    QObject::connect(
        server_, &InstanceServer::filesHanded, server_,
        [this](const QStringList& files) {
          QMutexLocker locked(&mutex_);
          handed_ << files;
        },
        Qt::DirectConnection);
    QMetaObject::invokeMethod(server_, [&] { listening_ = server_->listen(name); }, Qt::BlockingQueuedConnection);
  }
  ~ServedWindow() {
    QMetaObject::invokeMethod(server_, [this] { delete server_; }, Qt::BlockingQueuedConnection);
    thread_.quit();
    thread_.wait();
  }
  bool listening() const { return listening_; }
  QList<QStringList> handed() {
    QMutexLocker locked(&mutex_);
    return handed_;
  }

 private:
  QThread thread_;
  InstanceServer* server_ = nullptr;
  bool listening_ = false;
  QMutex mutex_;
  QList<QStringList> handed_;
};

}  // namespace

// Every message comes back as it went, also cut anywhere or followed by the
// next one; a message that is not ours, or that claims more than a hand-over
// may hold, is refused.
TEST(HandOver, MessagesOnTheWire) {
  const QStringList lists[] = {
      {},
      {QStringLiteral("/home/učitel/Znamky-7A.PDB")},
      {QStringLiteral("/a/b.PDB"), QStringLiteral("/a/with\nnewline.csv"), QString(QChar(0x17d))},
  };
  for (const QStringList& files : lists) {
    SCOPED_TRACE(files.join('|').toStdString());
    const QByteArray message = EncodeHandOver(files);
    for (qsizetype cut = 0; cut < message.size(); ++cut) {
      QByteArray part = message.left(cut);
      QStringList got{QStringLiteral("untouched")};
      ASSERT_EQ(DecodeHandOver(part, got), Decoded::Incomplete) << cut;
      EXPECT_EQ(part.size(), cut);
      EXPECT_EQ(got, QStringList{QStringLiteral("untouched")});
    }
    QByteArray two = message + EncodeHandOver({QStringLiteral("/next.PDB")});
    QStringList got;
    ASSERT_EQ(DecodeHandOver(two, got), Decoded::Done);
    EXPECT_EQ(got, files);
    ASSERT_EQ(DecodeHandOver(two, got), Decoded::Done);
    EXPECT_EQ(got, QStringList{QStringLiteral("/next.PDB")});
    EXPECT_TRUE(two.isEmpty());
  }

  const QByteArray good = EncodeHandOver({QStringLiteral("/x.PDB")});
  QByteArray otherTag = good;
  otherTag[4] = 'X';
  QByteArray longer = good + "junk";  // the length covers bytes after the list
  longer[3] = static_cast<char>(good.size() - 4 + 4);
  const QByteArray huge = QByteArray::fromHex("00200000") + QByteArray(16, 'a');
  for (QByteArray bad : {otherTag, longer, huge}) {
    SCOPED_TRACE(bad.toHex().toStdString());
    QStringList got;
    EXPECT_EQ(DecodeHandOver(bad, got), Decoded::Malformed);
    EXPECT_TRUE(got.isEmpty());
  }
}

// One folder has one name however it is written; another folder has
// another. The name lies in the user's runtime folder when there is one.
TEST(HandOver, SocketNameOfAFolder) {
  QTemporaryDir root;
  ASSERT_TRUE(root.isValid());
  const QString r = root.path();
  ASSERT_TRUE(QDir(r).mkpath("data") && QDir(r).mkpath("other") && QDir(r).mkpath("run"));
  ASSERT_TRUE(QFile::link(r + "/data", r + "/link"));
  const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
  qunsetenv("XDG_RUNTIME_DIR");
  const QString name = InstanceName(r + "/data");
  EXPECT_TRUE(name.startsWith("vekla-")) << name.toStdString();
  EXPECT_EQ(name.size(), 6 + 32);
  for (const QString& same : {r + "/data/", r + "/other/../data", r + "/link", r + "/link/"})
    EXPECT_EQ(InstanceName(same), name) << same.toStdString();
  EXPECT_NE(InstanceName(r + "/other"), name);

  qputenv("XDG_RUNTIME_DIR", (r + "/run").toUtf8());
  EXPECT_EQ(InstanceName(r + "/data"), r + "/run/" + name);
  // A socket path longer than the system takes: the toolkit's own place.
  const QString deep = r + "/run/" + QString(90, 'x');
  ASSERT_TRUE(QDir().mkpath(deep));
  qputenv("XDG_RUNTIME_DIR", deep.toUtf8());
  EXPECT_EQ(InstanceName(r + "/data"), name);
  if (runtime.isEmpty()) qunsetenv("XDG_RUNTIME_DIR");
  else qputenv("XDG_RUNTIME_DIR", runtime);
}

// The lock of a folder: taken when free or when its holder is gone, held
// while its holder runs (who holds it is known), waited for while the holder
// ends, and unavailable where no lock file can be made.
TEST(FolderLockTest, TakenHeldOrLeftBehind) {
  QTemporaryDir root;
  ASSERT_TRUE(root.isValid());
  const QString dir = root.path() + "/data/";
  ASSERT_TRUE(QDir().mkpath(dir));

  {
    FolderLock free(dir);
    EXPECT_EQ(free.take(), FolderLock::Take::Taken);
    EXPECT_TRUE(QFile::exists(dir + "vekla.lock"));
  }
  EXPECT_FALSE(QFile::exists(dir + "vekla.lock"));

  {
    Holder running(dir);
    ASSERT_TRUE(running.holds());
    FolderLock lock(dir);
    EXPECT_EQ(lock.take(), FolderLock::Take::Held);
    const std::optional<FolderLock::Holder> h = lock.holder();
    ASSERT_TRUE(h.has_value());
    EXPECT_EQ(h->pid, running.pid());
    EXPECT_EQ(h->host, QString());
    EXPECT_EQ(h->program, OwnProgramName());
    EXPECT_FALSE(OwnProgramName().isEmpty());
    // However long its holder has run, the lock stays its own.
    QFile file(dir + "vekla.lock");
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(QDateTime::currentDateTime().addDays(-3), QFileDevice::FileModificationTime));
    file.close();
    EXPECT_EQ(lock.take(), FolderLock::Take::Held);
    running.end('d');  // killed: the lock file stays
    EXPECT_TRUE(QFile::exists(dir + "vekla.lock"));
    EXPECT_EQ(lock.take(), FolderLock::Take::Taken);
  }

  {
    Holder ending(dir);
    ASSERT_TRUE(ending.holds());
    FolderLock lock(dir);
    EXPECT_FALSE(lock.waitAndTake(100));
    QThread* ender = QThread::create([&] {
      QThread::msleep(200);
      ending.end('r');
    });
    ender->start();
    EXPECT_TRUE(lock.waitAndTake(10000));
    ender->wait();
    delete ender;
  }

  FolderLock nowhere(root.path() + "/missing/");
  EXPECT_EQ(nowhere.take(), FolderLock::Take::Unavailable);
}

// A start on a folder: the first takes it, a later one hands its files to
// the window listening there, and one whose holder does not answer is
// refused with the reason; a holder that ends meanwhile lets the start run.
TEST(HandOver, ClaimingAFolder) {
  QTemporaryDir root;
  ASSERT_TRUE(root.isValid());
  const QString dir = root.path() + "/data/";
  ASSERT_TRUE(QDir().mkpath(dir));
  const QStringList files{QStringLiteral("/tmp/Znamky-8B.PDB"), QStringLiteral("/tmp/Rozpisy-ČJ.PDB")};
  const QString pid = QString::number(QCoreApplication::applicationPid());

  struct Case {
    const char* name;
    std::function<void(FolderLock& window)> prepare;  // the window's lock is taken first unless cleared
    bool serve;
    Claim::What what;
    QStringList refusalHas;
  };
  const Case cases[] = {
      {"window listening", {}, true, Claim::HandedOver, {}},
      {"window not answering",
       {},
       false,
       Claim::Refused,
       {QStringLiteral("Vekla už běží se složkou dat \"/shown/\" (proces ") + pid + ")",
        QStringLiteral("do 0 s neodpověděla")}},
      {"unreadable lock",
       [&](FolderLock&) {
         QFile f(dir + "vekla.lock");
         ASSERT_TRUE(f.open(QIODevice::WriteOnly));
         f.write("not a lock\n");
       },
       false,
       Claim::Refused,
       {QStringLiteral("je zamčena souborem \"") + dir + "vekla.lock\""}},
  };
  auto test = [&](const Case& c) {
    FolderLock window(dir);
    if (c.prepare) {
      c.prepare(window);
    } else {
      ASSERT_EQ(window.take(), FolderLock::Take::Taken);
    }
    std::unique_ptr<ServedWindow> served;
    if (c.serve) {
      served = std::make_unique<ServedWindow>(InstanceName(dir));
      ASSERT_TRUE(served->listening());
    }
    FolderLock start(dir);
    const Claim claim = ClaimFolder(start, dir, QStringLiteral("/shown/"), files, c.serve ? 5000 : 300);
    EXPECT_EQ(claim.what, c.what);
    for (const QString& part : c.refusalHas) EXPECT_TRUE(claim.refusal.contains(part)) << claim.refusal.toStdString();
    if (c.serve) {
      EXPECT_EQ(served->handed(), QList<QStringList>{files});
    }
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    test(c);
    QFile::remove(dir + "vekla.lock");
  }

  {
    FolderLock first(dir);
    EXPECT_EQ(ClaimFolder(first, dir, dir, files, 300).what, Claim::First);
  }
  {
    Holder closing(dir);
    ASSERT_TRUE(closing.holds());
    QThread* ender = QThread::create([&] {
      QThread::msleep(300);
      closing.end('r');
    });
    ender->start();
    FolderLock start(dir);
    EXPECT_EQ(ClaimFolder(start, dir, dir, files, 10000).what, Claim::First);
    ender->wait();
    delete ender;
  }
  FolderLock nowhere(root.path() + "/missing/");
  EXPECT_EQ(ClaimFolder(nowhere, root.path() + "/missing/", dir, files, 300).what, Claim::Unlocked);
}
