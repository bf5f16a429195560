#include "shell/singleinstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

SingleInstance::SingleInstance(const QString &name, const QString &folder)
{
    QString dir = folder;
    if (dir.isEmpty())
        dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QDir::tempPath();
    // The name holds blanks and an "@"; a hash keeps the file name plain.
    const QByteArray hash = QCryptographicHash::hash(name.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    m_path = QDir(dir).filePath(u"quillmark-"_s + QString::fromLatin1(hash) + u".lock"_s);
    m_lock = std::make_unique<QLockFile>(m_path);
    m_lock->setStaleLockTime(0); // a live holder is never stale; a dead one is found by its pid
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::acquire()
{
    if (m_lock->isLocked())
        return true;
    if (m_lock->tryLock(0))
        return true;
    // tryLock removes a lock whose process is gone only when asked to look again.
    if (m_lock->error() == QLockFile::LockFailedError && m_lock->removeStaleLockFile())
        return m_lock->tryLock(0);
    return false;
}
