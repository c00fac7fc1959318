#include "shell/single_instance.h"

#include <QDir>
#include <QStandardPaths>

QString InstanceLockPath()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    return folder + QStringLiteral("/ravezaz.lock");
}

SingleInstance::SingleInstance(const QString &lockPath)
    : lock_(lockPath)
{
    first_ = lock_.tryLock(0) || lock_.error() != QLockFile::LockFailedError;
}

bool SingleInstance::IsFirst() const
{
    return first_;
}
