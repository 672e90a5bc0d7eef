// One running copy per user: the hand-over from a later copy, and locks left by copies that
// died.

#include "app/single_instance.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <atomic>
#include <memory>
#include <optional>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include <gtest/gtest.h>

namespace zemrak::app {
namespace {

using Role = SingleInstance::Role;

QString unique_key(const QString& what) {
    static int counter = 0;
    return QStringLiteral("zemrak test %1 %2 %3")
        .arg(what)
        .arg(QCoreApplication::applicationPid())
        .arg(++counter);
}

qint64 pid_of_a_finished_process() {
    const pid_t child = ::fork();
    if (child == 0) {
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return child;
}

// A later copy of the program. It blocks while it waits for the answer, as the real one does,
// so it runs on a thread of its own while the first copy's event loop answers.
class LaterCopy {
public:
    explicit LaterCopy(const QString& key)
        : m_thread([this, key] {
              SingleInstance copy(key);
              m_role = copy.claim();
              if (m_role == Role::Second) {
                  m_handedOver = copy.hand_over(2000);
              }
              m_returned = true;
          }) {}
    ~LaterCopy() { m_thread.join(); }

    LaterCopy(const LaterCopy&) = delete;
    LaterCopy& operator=(const LaterCopy&) = delete;

    bool wait_until_returned() {
        return QTest::qWaitFor([this] { return m_returned.load(); }, 10000);
    }
    [[nodiscard]] bool returned() const { return m_returned; }
    [[nodiscard]] Role role() const { return m_role; }
    [[nodiscard]] bool handed_over() const { return m_handedOver; }

private:
    std::atomic<bool> m_returned{false};
    std::atomic<Role> m_role{Role::First};
    std::atomic<bool> m_handedOver{false};
    std::thread m_thread;
};

TEST(SingleInstance, LaterCopyWaitsUntilTheFirstHasHandledItsRequest) {
    const QString key = unique_key(QStringLiteral("hand-over"));
    auto first = std::make_unique<SingleInstance>(key);
    ASSERT_EQ(first->claim(), Role::First);
    EXPECT_TRUE(QFile::exists(first->lock_file_path()));

    int requests = 0;
    bool later_returned_during_handler = true;
    LaterCopy* later_copy = nullptr;
    QObject::connect(first.get(), &SingleInstance::show_requested, first.get(), [&] {
        ++requests;
        // Like a warning that stays open while the user reads it.
        QEventLoop reading;
        QTimer::singleShot(300, &reading, &QEventLoop::quit);
        reading.exec();
        later_returned_during_handler = later_copy->returned();
    });

    LaterCopy later(key);
    later_copy = &later;
    const bool returned = later.wait_until_returned();
    if (!returned) {
        first.reset(); // closing the server lets the blocked copy go
    }
    ASSERT_TRUE(returned);
    EXPECT_EQ(later.role(), Role::Second);
    EXPECT_TRUE(later.handed_over());
    EXPECT_EQ(requests, 1);
    EXPECT_FALSE(later_returned_during_handler);
}

TEST(SingleInstance, EndedCopyLeavesNothingThatBlocksOrAnswers) {
    const QString key = unique_key(QStringLiteral("release"));
    auto first = std::make_unique<SingleInstance>(key);
    ASSERT_EQ(first->claim(), Role::First);
    const QString lock_path = first->lock_file_path();
    const QString server_path = first->server_path();
    first.reset();
    EXPECT_FALSE(QFile::exists(lock_path));
    EXPECT_FALSE(QFile::exists(server_path));

    SingleInstance lonely(key);
    EXPECT_FALSE(lonely.hand_over(100)); // nobody to answer
    EXPECT_EQ(lonely.claim(), Role::First);
}

TEST(SingleInstance, LockOfACopyThatDiedDoesNotBlock) {
    const struct {
        const char* what;
        QByteArray lock_contents;
    } cases[] = {
        {"owner gone", QByteArray::number(pid_of_a_finished_process()) + "\nzemrak-mouse\n" +
                           QSysInfo::machineHostName().toUtf8() + "\n"},
        {"crashed while writing the lock", QByteArray()},
    };
    for (const auto& left_behind : cases) {
        SCOPED_TRACE(left_behind.what);
        const QString key = unique_key(QStringLiteral("stale"));
        SingleInstance restarted(key);
        QFile lock(restarted.lock_file_path());
        ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
        lock.write(left_behind.lock_contents);
        lock.close();
        // The dead copy's socket file is still there too.
        QFile socket(restarted.server_path());
        ASSERT_TRUE(socket.open(QIODevice::WriteOnly));
        socket.close();

        ASSERT_EQ(restarted.claim(), Role::First);
        int requests = 0;
        QObject::connect(&restarted, &SingleInstance::show_requested, &restarted,
                         [&requests] { ++requests; });
        LaterCopy later(key);
        ASSERT_TRUE(later.wait_until_returned());
        EXPECT_EQ(later.role(), Role::Second);
        EXPECT_TRUE(later.handed_over());
        EXPECT_EQ(requests, 1);
    }
}

// Sets an environment variable for one test and puts back what was there.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const std::optional<QByteArray>& value)
        : m_name(name),
          m_old(qEnvironmentVariableIsSet(name) ? std::optional<QByteArray>(qgetenv(name))
                                                : std::nullopt) {
        set(value);
    }
    ~ScopedVariable() { set(m_old); }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    void set(const std::optional<QByteArray>& value) {
        if (value) {
            qputenv(m_name, *value);
        } else {
            qunsetenv(m_name);
        }
    }
    const char* m_name;
    std::optional<QByteArray> m_old;
};

// The folder that holds the lock, if it is one only this user may enter.
bool private_to_this_user(const QString& lock_path) {
    const QByteArray folder = QFile::encodeName(QFileInfo(lock_path).absolutePath());
    struct stat info {};
    return ::lstat(folder.constData(), &info) == 0 && S_ISDIR(info.st_mode) &&
           info.st_uid == ::getuid() && (info.st_mode & 0777) == 0700;
}

// Without a session runtime folder, another local user who could write the lock file first
// would keep the program from starting.
TEST(SingleInstance, WithoutARuntimeFolderTheLockIsInAFolderOfTheUsersOwn) {
    QTemporaryDir temp;
    QTemporaryDir home;
    const ScopedVariable runtime("XDG_RUNTIME_DIR", std::nullopt);
    const ScopedVariable tmpdir("TMPDIR", temp.path().toUtf8());
    const ScopedVariable home_variable("HOME", home.path().toUtf8());
    const ScopedVariable cache("XDG_CACHE_HOME", std::nullopt);
    const QString own = temp.filePath(QStringLiteral("zemrak-mouse-%1").arg(::getuid()));

    {
        SingleInstance first(unique_key(QStringLiteral("private")));
        EXPECT_EQ(own, QFileInfo(first.lock_file_path()).absolutePath());
        EXPECT_TRUE(private_to_this_user(first.lock_file_path()));
        EXPECT_EQ(first.claim(), Role::First);
    }

    // Left open to others: closed before use.
    ASSERT_EQ(0, ::chmod(QFile::encodeName(own).constData(), 0777));
    EXPECT_TRUE(private_to_this_user(
        SingleInstance(unique_key(QStringLiteral("opened"))).lock_file_path()));

    // The name taken by something that is not this user's folder: the cache folder instead.
    QTemporaryDir elsewhere;
    ASSERT_TRUE(QDir(own).removeRecursively());
    ASSERT_TRUE(QFile::link(elsewhere.path(), own));
    SingleInstance diverted(unique_key(QStringLiteral("taken")));
    EXPECT_TRUE(diverted.lock_file_path().startsWith(home.path() + QStringLiteral("/.cache/")))
        << diverted.lock_file_path().toStdString();
    EXPECT_TRUE(private_to_this_user(diverted.lock_file_path()));
    EXPECT_EQ(diverted.claim(), Role::First);
}

} // namespace
} // namespace zemrak::app
