// One window per data folder: the hand-over on the wire, the socket's name,
// and a start that takes the folder, hands its files to the window holding
// it, or is refused.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QMutex>
#include <QTemporaryDir>
#include <QThread>
#include <memory>

#include "commands/instance.h"
#include "workspace/folderlock.h"

using namespace vekla;

namespace {

// A window's socket served on a thread of its own, so that a start in this
// thread can hand files to it.
class ServedWindow {
 public:
  explicit ServedWindow(const QString& name) {
    thread_.start();
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
  bool listening_ = false;
  QList<QStringList> handed() {
    QMutexLocker locked(&mutex_);
    return handed_;
  }

 private:
  QThread thread_;
  InstanceServer* server_ = new InstanceServer;
  QMutex mutex_;
  QList<QStringList> handed_;
};

}  // namespace

// A message comes back as it went, and waits for its rest when cut
// anywhere; one that is not ours, or claims more than a hand-over holds, is
// refused.
TEST(HandOver, MessagesOnTheWire) {
  const QStringList files{QStringLiteral("/home/učitel/Znamky-7A.PDB"), QStringLiteral("/a/new\nline.csv")};
  const QByteArray message = EncodeHandOver(files);
  for (qsizetype cut = 0; cut < message.size(); ++cut) {
    QByteArray part = message.left(cut);
    QStringList got;
    ASSERT_EQ(DecodeHandOver(part, got), Decoded::Incomplete) << cut;
    EXPECT_EQ(part.size(), cut);
  }
  QByteArray whole = message;
  QStringList got;
  ASSERT_EQ(DecodeHandOver(whole, got), Decoded::Done);
  EXPECT_EQ(got, files);
  EXPECT_TRUE(whole.isEmpty());

  QByteArray otherTag = message, longer = message + "junk";
  otherTag[4] = 'X';
  longer[3] = static_cast<char>(longer[3] + 4);  // the length covers bytes after the list
  for (QByteArray bad : {otherTag, longer, QByteArray::fromHex("00200000") + QByteArray(16, 'a')}) {
    QStringList none;
    EXPECT_EQ(DecodeHandOver(bad, none), Decoded::Malformed) << bad.toHex().toStdString();
  }
}

// One folder has one name however it is written, another folder another;
// it lies in the user's runtime folder when there is one and it fits.
TEST(HandOver, SocketNameOfAFolder) {
  QTemporaryDir root;
  const QString r = root.path();
  ASSERT_TRUE(QDir(r).mkpath("data") && QDir(r).mkpath("other") && QFile::link(r + "/data", r + "/link"));
  const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
  qunsetenv("XDG_RUNTIME_DIR");
  const QString name = InstanceName(r + "/data");
  EXPECT_TRUE(name.startsWith("vekla-") && name.size() == 38) << name.toStdString();
  for (const QString& same : {r + "/data/", r + "/other/../data", r + "/link/"})
    EXPECT_EQ(InstanceName(same), name) << same.toStdString();
  EXPECT_NE(InstanceName(r + "/other"), name);
  qputenv("XDG_RUNTIME_DIR", r.toUtf8());
  EXPECT_EQ(InstanceName(r + "/data"), r + "/" + name);
  const QString deep = r + "/" + QString(90, 'x');  // too long for a socket path
  ASSERT_TRUE(QDir().mkpath(deep));
  qputenv("XDG_RUNTIME_DIR", deep.toUtf8());
  EXPECT_EQ(InstanceName(r + "/data"), name);
  qputenv("XDG_RUNTIME_DIR", runtime);
}

// A start on a folder: the first takes it, a later one hands its files to
// the window listening there, one whose holder does not answer or cannot be
// told is refused with the reason, and a holder that ends meanwhile lets the
// start run. A folder where no lock can be made runs without one.
TEST(HandOver, ClaimingAFolder) {
  QTemporaryDir root;
  const QString dir = root.path() + "/data/";
  ASSERT_TRUE(QDir().mkpath(dir));
  const QStringList files{QStringLiteral("/tmp/Znamky-8B.PDB"), QStringLiteral("/tmp/Rozpisy-ČJ.PDB")};
  enum Holder { None, Listening, Silent, Unreadable, Ending };
  const struct {
    Holder holder;
    Claim::What what;
    QString refusal;  // a part of it
  } cases[] = {
      {None, Claim::First, {}},
      {Listening, Claim::HandedOver, {}},
      {Silent, Claim::Refused,
       QStringLiteral("Vekla už běží se složkou dat \"/shown/\" (proces %1), ale do 0 s neodpověděla.")
           .arg(QCoreApplication::applicationPid())},
      {Unreadable, Claim::Refused, QStringLiteral("je zamčena souborem \"%1vekla.lock\"").arg(dir)},
      {Ending, Claim::First, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.holder);
    {
      auto window = std::make_unique<FolderLock>(dir);
      if (c.holder == Unreadable) {
        QFile f(dir + "vekla.lock");
        ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write("no lock\n") > 0);
      } else if (c.holder != None) {
        ASSERT_EQ(window->take(), FolderLock::Take::Taken);
      }
      std::unique_ptr<ServedWindow> served;
      if (c.holder == Listening) served = std::make_unique<ServedWindow>(InstanceName(dir));
      std::unique_ptr<QThread> ender(QThread::create([&] {
        QThread::msleep(300);
        if (c.holder == Ending) window.reset();
      }));
      ender->start();
      FolderLock start(dir);
      const Claim claim = ClaimFolder(start, dir, QStringLiteral("/shown/"), files, c.what == Claim::Refused ? 300 : 5000);
      ender->wait();
      EXPECT_EQ(claim.what, c.what);
      EXPECT_TRUE(claim.refusal.contains(c.refusal)) << claim.refusal.toStdString();
      if (served) {
        EXPECT_EQ(served->handed(), QList<QStringList>{files});
      }
    }
    QFile::remove(dir + "vekla.lock");
  }
  FolderLock nowhere(root.path() + "/missing/");
  EXPECT_EQ(ClaimFolder(nowhere, root.path() + "/missing/", dir, files, 300).what, Claim::Unlocked);
}
