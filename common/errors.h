#pragma once
// Failures of file, picture and settings access. They carry the text the user
// sees; the panel's error display shows it in a box captioned with the
// application title.
#include <stdexcept>
#include <string>

#include "common/app_texts.h"

namespace tilerack {

class TError : public std::runtime_error {
public:
    explicit TError(const std::string& message) : std::runtime_error(message) {}
    // A text of the table, in the language spoken now.
    explicit TError(const Text& message) : std::runtime_error(message.Get()) {}
};

// The file and picture errors that name what failed; their English texts
// and the fixed ones are in common/app_texts.h.
inline std::string CannotOpenFile(const std::string& path) { return kCannotOpenFileHead + path; }
inline std::string CannotCreateFile(const std::string& path) { return kCannotCreateFileHead + path; }
inline std::string UnableToWrite(const std::string& path) { return kUnableToWriteHead + path; }
inline std::string UnknownPictureExtension(const std::string& extension) {
    return kUnknownPictureExtensionHead + extension + kUnknownPictureExtensionTail;
}

}  // namespace tilerack
