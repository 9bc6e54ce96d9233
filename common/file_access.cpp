#include "common/file_access.h"

namespace tilerack {

namespace {

// The Windows error codes that tell absence and a passing hold apart.
constexpr uint32_t kFileNotFound = 2;
constexpr uint32_t kPathNotFound = 3;
constexpr uint32_t kSharingViolation = 32;
constexpr uint32_t kLockViolation = 33;

}  // namespace

FileAccess AccessAfterOpenError(uint32_t systemError) {
    switch (systemError) {
    case kFileNotFound:
    case kPathNotFound: return FileAccess::Absent;
    case kSharingViolation:
    case kLockViolation: return FileAccess::Held;
    default: return FileAccess::Unreadable;
    }
}

}  // namespace tilerack
