#pragma once

#include <unistd.h>

// Runs the scope without root's power to write anywhere, as the program runs
// for an ordinary user, so that a folder without write permission refuses
// new files. Both the real and the effective ids change (access() checks the
// real one); root stays the saved id, so the scope can end. Outside root it
// changes nothing. Files the scope uses must be open to others.
class AsOrdinaryUser {
public:
    AsOrdinaryUser()
    {
        if (::geteuid() == 0 && ::setresgid(nobody, nobody, 0) == 0)
            dropped_ = ::setresuid(nobody, nobody, 0) == 0;
    }
    ~AsOrdinaryUser()
    {
        if (dropped_ && ::setresuid(0, 0, 0) == 0)
            dropped_ = ::setresgid(0, 0, 0) != 0;
    }
    AsOrdinaryUser(const AsOrdinaryUser &) = delete;
    AsOrdinaryUser &operator=(const AsOrdinaryUser &) = delete;

private:
    static constexpr uid_t nobody = 65534;
    bool dropped_ = false;
};
