#pragma once
// Holds a slim reader/writer lock exclusively for as long as it lives.
#include <windows.h>

namespace tilerack::win {

class SrwLockHold {
public:
    explicit SrwLockHold(SRWLOCK& lock) : lock_(lock) { AcquireSRWLockExclusive(&lock_); }
    ~SrwLockHold() { ReleaseSRWLockExclusive(&lock_); }
    SrwLockHold(const SrwLockHold&) = delete;
    SrwLockHold& operator=(const SrwLockHold&) = delete;

private:
    SRWLOCK& lock_;
};

}  // namespace tilerack::win
