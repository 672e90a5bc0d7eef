#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QStringList>
#include <QTimer>
#include <functional>

namespace zemrak::app {

// Tells the window, shortly after something in the data folder changed, so that it can look
// for files another program wrote (see AppData::changed_outside()). A save is a temporary
// file and a rename, and programs save several files at once: a burst of changes gives one
// call, kSettleMs after the last.
class DataFolderWatch final : public QObject {
public:
    static constexpr int kSettleMs = 300;

    // `files`: the data files, watched beside the folder so that a file written in place is
    // seen too.
    DataFolderWatch(const QString& folder, QStringList files, std::function<void()> changed,
                    QObject* parent);

private:
    void on_change();

    QFileSystemWatcher m_watcher;
    QStringList m_files;
    QTimer m_settle;
    std::function<void()> m_changed;
};

} // namespace zemrak::app
