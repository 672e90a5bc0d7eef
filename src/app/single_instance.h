#pragma once

#include <QObject>
#include <QString>
#include <memory>

class QLocalServer;
class QLocalSocket;
class QLockFile;

namespace zemrak::app {

// One running copy per user. The first copy holds a lock file and listens on a
// local socket; a later copy finds the lock taken, asks the running copy to
// show itself and waits until it has (including any warning it shows on the
// way), then ends.
//
// Both live in the user's runtime folder, named after the key made file-safe
// and the user id, so different users never meet. Without $XDG_RUNTIME_DIR, a
// folder of this user's own in the temporary folder (zemrak-mouse-<uid>, mode
// 0700) stands in for it, or in the user's cache folder when that name is taken
// by someone else.
class SingleInstance final : public QObject {
    Q_OBJECT
public:
    enum class Role { First, Second };

    // The name every copy of the program agrees on.
    static constexpr const char* kProgramKey = "Zemrak Mosue Driver Configure Tobrin";
    // How long a second copy tries to reach a first one that may still be
    // starting.
    static constexpr int kConnectTimeoutMs = 2000;

    // `key` replaces the program's name, so that tests do not meet a running
    // program.
    explicit SingleInstance(const QString& key = QString::fromLatin1(kProgramKey),
                            QObject* parent = nullptr);
    ~SingleInstance() override;

    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // Takes the lock. First: this copy runs, keeps the lock until destroyed and
    // answers later copies through show_requested(). Second: another live copy
    // holds it. A lock left by a copy that died is taken over. When no lock can
    // be made at all (an unwritable runtime folder) this copy runs as First
    // rather than not at all.
    Role claim();

    // For a Second copy: asks the running copy to show itself and blocks until it
    // answers that it has, however long its handler takes. `connect_timeout_ms`
    // bounds only the wait for the connection. False when no running copy could
    // be reached or it went away before answering.
    bool hand_over(int connect_timeout_ms = kConnectTimeoutMs);

    [[nodiscard]] QString lock_file_path() const { return m_lockPath; }
    [[nodiscard]] QString server_path() const { return m_serverPath; }

signals:
    // A later copy asked to be shown. Handled synchronously: that copy is told
    // "done" only after every connected slot has returned, so slots may run modal
    // dialogs.
    void show_requested();

private:
    void listen();
    void accept_connections();
    void read_requests(QLocalSocket* socket);

    QString m_lockPath;
    QString m_serverPath;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer* m_server = nullptr;
    bool m_first = false;
};

} // namespace zemrak::app
