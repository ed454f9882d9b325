#pragma once
// Watches "zlttimes.log" while the program runs, so that the runs the game appends show at once.

#include <QObject>
#include <QString>

class QFileSystemWatcher;
class QTimer;

namespace kel {

// Says when the log may have changed: at the system's change notice for the file, and in any
// case once a second, because notices get lost on some file systems (network shares among
// them) and stop when the file is replaced. A look at an unchanged log costs next to nothing.
class LogWatcher : public QObject {
    Q_OBJECT
public:
    explicit LogWatcher(const QString& path, QObject* parent = nullptr);

    static constexpr int CheckInterval = 1000; // ms
    // A burst of notices (the game writes a run in pieces) gives one look after it.
    static constexpr int SettleTime = 50; // ms

signals:
    void changed();

private:
    void watchFile();

    QString m_path;
    QFileSystemWatcher* m_watcher = nullptr;
    QTimer* m_check = nullptr;
    QTimer* m_settle = nullptr;
};

} // namespace kel
