#pragma once
// How an attempt to open a data file ended, told from the system's error code:
// only a file that is truly absent counts as "not there"; one that is there
// but could not be read is not (it may be held by another program for a
// moment, refused, or on a share that does not answer).
#include <cstdint>

namespace tilerack {

enum class FileAccess {
    Read,        // opened and read (a damaged file included)
    Absent,      // no such file, or no such folder
    Held,        // another program holds it open: it is let go in a moment
    Unreadable,  // any other failure: refused, a network error, a folder in its place
};

// The system's error code of a failed open (the values of the Windows
// headers, which this file does not include).
FileAccess AccessAfterOpenError(uint32_t systemError);

}  // namespace tilerack
