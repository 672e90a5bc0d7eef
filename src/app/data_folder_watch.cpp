#include "app/data_folder_watch.h"

#include <QFileInfo>
#include <utility>

namespace zemrak::app {

DataFolderWatch::DataFolderWatch(const QString& folder, QStringList files,
                                 std::function<void()> changed, QObject* parent)
    : QObject(parent), m_files(std::move(files)), m_changed(std::move(changed)) {
    m_settle.setSingleShot(true);
    m_settle.setInterval(kSettleMs);
    connect(&m_settle, &QTimer::timeout, this, [this] { m_changed(); });
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, [this] { on_change(); });
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, [this] { on_change(); });
    m_watcher.addPath(folder);
    on_change();
    m_settle.stop();
}

void DataFolderWatch::on_change() {
    // A file replaced by a rename is a new file: the watch of the old one ended with it.
    for (const QString& file : std::as_const(m_files)) {
        if (!m_watcher.files().contains(file) && QFileInfo::exists(file)) {
            m_watcher.addPath(file);
        }
    }
    m_settle.start();
}

} // namespace zemrak::app
