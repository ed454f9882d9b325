#include "app/LogWatcher.h"

#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QTimer>

namespace kel {

LogWatcher::LogWatcher(const QString& path, QObject* parent) : QObject(parent), m_path(path) {
    m_watcher = new QFileSystemWatcher(this);
    m_settle = new QTimer(this);
    m_settle->setSingleShot(true);
    m_settle->setInterval(SettleTime);
    connect(m_watcher, &QFileSystemWatcher::fileChanged, m_settle, qOverload<>(&QTimer::start));
    connect(m_settle, &QTimer::timeout, this, [this] {
        watchFile();
        emit changed();
    });
    m_check = new QTimer(this);
    m_check->setInterval(CheckInterval);
    connect(m_check, &QTimer::timeout, this, [this] {
        watchFile();
        emit changed();
    });
    m_check->start();
    watchFile();
}

// A file that was replaced or removed is no longer watched; its successor is, once it exists.
void LogWatcher::watchFile() {
    if (!m_watcher->files().contains(m_path) && QFileInfo::exists(m_path))
        m_watcher->addPath(m_path);
}

} // namespace kel
