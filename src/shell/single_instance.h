#pragma once

#include <QLockFile>
#include <QString>

// The lock that marks a running copy of the program, in the per-user runtime
// folder: each user of the machine runs one copy.
QString InstanceLockPath();

// Holds the instance lock for as long as it lives. The first copy of the
// program takes it; a second copy finds it held and ends. A lock left behind
// by a copy that was killed names a process that no longer runs, and is
// taken over at once.
class SingleInstance {
public:
    explicit SingleInstance(const QString &lockPath);

    // False only when another running copy holds the lock. A lock that cannot
    // be made at all (an unwritable folder) does not keep the program from
    // starting.
    bool IsFirst() const;

private:
    QLockFile lock_;
    bool first_;
};
