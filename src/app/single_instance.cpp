#include "app/single_instance.h"

#include <QByteArray>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QPointer>
#include <QStandardPaths>
#include <QThread>
#include <cerrno>
#include <csignal>
#include <iostream>
#include <limits>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

namespace zemrak::app {
namespace {

const QByteArray kShowRequest = QByteArrayLiteral("show");
const QByteArray kDoneAnswer = QByteArrayLiteral("done");

// Between taking the lock and listening, a first copy cannot be reached yet.
constexpr unsigned long kConnectRetryMs = 25;
// A lock file that exists but holds no owner yet may be in the middle of being
// written.
constexpr unsigned long kHalfWrittenLockWaitMs = 100;

QString file_safe(const QString& key) {
    QString safe;
    safe.reserve(key.size());
    for (const QChar c : key) {
        const bool plain = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') ||
                           (c >= u'0' && c <= u'9') || c == u'-' || c == u'_';
        safe.append(plain ? c : QChar(u'_'));
    }
    return safe;
}

// `<parent>/zemrak-mouse-<uid>`, made when missing, when it is a folder (not a
// link to one) that belongs to this user and that no one else may enter; empty
// otherwise. In a shared folder another user could otherwise make the lock file
// first and keep the program from starting, or stand in for its socket.
QString private_folder(const QString& parent) {
    const QByteArray path =
        QFile::encodeName(parent + QStringLiteral("/zemrak-mouse-") + QString::number(::getuid()));
    if (::mkdir(path.constData(), 0700) != 0 && errno != EEXIST) {
        return {};
    }
    struct stat info {};
    if (::lstat(path.constData(), &info) != 0 || !S_ISDIR(info.st_mode) ||
        info.st_uid != ::getuid()) {
        return {};
    }
    // Ours, but open to others (made by hand, or under an old umask): close it
    // first.
    if ((info.st_mode & 077) != 0 && ::chmod(path.constData(), 0700) != 0) {
        return {};
    }
    return QFile::decodeName(path);
}

QString runtime_folder() {
    // Without XDG_RUNTIME_DIR, Qt would make a folder of its own and complain
    // about it.
    if (qEnvironmentVariableIsSet("XDG_RUNTIME_DIR")) {
        const QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
        if (!folder.isEmpty()) {
            return folder;
        }
    }
    if (const QString folder = private_folder(QDir::tempPath()); !folder.isEmpty()) {
        return folder;
    }
    // Someone else holds the name in the temporary folder: the user's own cache
    // folder.
    const QString cache_home = qEnvironmentVariable("XDG_CACHE_HOME");
    const QString cache = cache_home.startsWith(QLatin1Char('/'))
                              ? cache_home
                              : QDir::homePath() + QStringLiteral("/.cache");
    QDir().mkpath(cache);
    return private_folder(cache);
}

bool process_alive(qint64 pid) {
    if (pid <= 0 || pid > std::numeric_limits<pid_t>::max()) {
        return false;
    }
    // EPERM: the process exists but belongs to someone else.
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

} // namespace

SingleInstance::SingleInstance(const QString& key, QObject* parent) : QObject(parent) {
    const QString base = runtime_folder() + QLatin1Char('/') + file_safe(key) + QLatin1Char('-') +
                         QString::number(::getuid());
    m_lockPath = base + QStringLiteral(".lock");
    m_serverPath = base + QStringLiteral(".socket");
}

SingleInstance::~SingleInstance() {
    if (m_server != nullptr) {
        m_server->close(); // removes the socket file before the lock goes
    }
}

SingleInstance::Role SingleInstance::claim() {
    if (m_first) {
        return Role::First;
    }
    m_lock = std::make_unique<QLockFile>(m_lockPath);
    // The first copy holds the lock for as long as it runs, so its age says
    // nothing.
    m_lock->setStaleLockTime(0);
    bool locked = m_lock->tryLock(0);
    if (!locked && m_lock->error() == QLockFile::LockFailedError) {
        qint64 pid = 0;
        bool known = m_lock->getLockInfo(&pid, nullptr, nullptr);
        if (!known) {
            QThread::msleep(kHalfWrittenLockWaitMs);
            known = m_lock->getLockInfo(&pid, nullptr, nullptr);
        }
        // tryLock() already removes a lock whose owner is gone; this also covers a
        // lock file that a crash left empty, and an owner that tryLock() could not
        // name.
        if (!known || !process_alive(pid)) {
            m_lock->removeStaleLockFile();
            locked = m_lock->tryLock(0);
        }
        if (!locked && m_lock->error() == QLockFile::LockFailedError) {
            return Role::Second;
        }
    }
    if (!locked) {
        std::cerr << "zemrak-mouse: cannot create the lock file "
                  << m_lockPath.toLocal8Bit().constData() << "; other copies may start\n";
    }
    m_first = true;
    listen();
    return Role::First;
}

void SingleInstance::listen() {
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    // We hold the lock, so a socket file still there was left by a copy that
    // died.
    QLocalServer::removeServer(m_serverPath);
    if (!m_server->listen(m_serverPath)) {
        std::cerr << "zemrak-mouse: cannot listen on " << m_serverPath.toLocal8Bit().constData()
                  << ": " << m_server->errorString().toLocal8Bit().constData() << '\n';
        return;
    }
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::accept_connections);
}

void SingleInstance::accept_connections() {
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { read_requests(socket); });
        read_requests(socket);
    }
}

void SingleInstance::read_requests(QLocalSocket* socket) {
    // A handler may run a modal loop, in which the other copy can go away and its
    // socket be deleted.
    const QPointer<QLocalSocket> guard(socket);
    while (guard != nullptr && guard->canReadLine()) {
        if (guard->readLine().trimmed() != kShowRequest) {
            continue;
        }
        emit show_requested();
        if (guard != nullptr && guard->state() == QLocalSocket::ConnectedState) {
            guard->write(kDoneAnswer + '\n');
            guard->flush();
        }
    }
}

bool SingleInstance::hand_over(int connect_timeout_ms) {
    QLocalSocket socket;
    const QDeadlineTimer deadline(connect_timeout_ms);
    for (;;) {
        socket.connectToServer(m_serverPath);
        if (socket.waitForConnected(static_cast<int>(deadline.remainingTime()))) {
            break;
        }
        if (deadline.hasExpired()) {
            return false;
        }
        QThread::msleep(kConnectRetryMs);
    }
    socket.write(kShowRequest + '\n');
    while (socket.bytesToWrite() > 0) {
        if (!socket.waitForBytesWritten(connect_timeout_ms)) {
            return false;
        }
    }
    // No time limit: the first copy answers once it has shown its window, or once
    // the user has dismissed the warning it shows instead.
    for (;;) {
        while (socket.canReadLine()) {
            if (socket.readLine().trimmed() == kDoneAnswer) {
                return true;
            }
        }
        if (!socket.waitForReadyRead(-1)) {
            return false;
        }
    }
}

} // namespace zemrak::app
