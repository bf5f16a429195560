#pragma once

#include <QLockFile>
#include <QString>

#include <memory>

// Keeps a second copy of a program from starting: a lock file named after the given text in the
// runtime folder. A lock left by a copy that crashed is stale and does not block the next start.
class SingleInstance final
{
public:
    explicit SingleInstance(const QString &name, const QString &folder = {});
    ~SingleInstance();
    // True when this is the only running copy (the lock is now held until destruction).
    bool acquire();
    QString lockPath() const { return m_path; }

private:
    Q_DISABLE_COPY_MOVE(SingleInstance)
    QString m_path;
    std::unique_ptr<QLockFile> m_lock;
};
