#include "items/launch_messages.h"

#include "common/app_texts.h"

namespace tilerack {

namespace {

// The shell's failure codes that have a message of their own.
const char* KnownResultMessage(int32_t result) {
    switch (result) {
    case 0: return kLaunchOutOfResources;
    case 2: return kLaunchFileNotFound;
    case 3: return kLaunchPathNotFound;
    case 5: return kLaunchAccessDenied;
    case 8: return kLaunchOutOfMemory;
    case 11: return kLaunchBadFormat;
    case 26: return kLaunchSharingViolation;
    case 27: return kLaunchAssociationIncomplete;
    case 28: return kLaunchDdeTimeout;
    case 29: return kLaunchDdeFailed;
    case 30: return kLaunchDdeBusy;
    case 31: return kLaunchNoAssociation;
    case 32: return kLaunchDllNotFound;
    default: return nullptr;
    }
}

}  // namespace

std::string ShellResultMessage(int32_t result) {
    if (result > 32) return {};
    if (const char* text = KnownResultMessage(result)) return text;
    return kLaunchResultNumberHead + std::to_string(result);
}

}  // namespace tilerack
