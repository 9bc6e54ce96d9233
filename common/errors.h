#pragma once
// Failures of file, picture and settings access. They carry the text the user
// sees; the panel's error display shows it in a box captioned with the
// application title.
#include <stdexcept>
#include <string>

namespace tilerack {

class TError : public std::runtime_error {
public:
    explicit TError(const std::string& message) : std::runtime_error(message) {}
};

// The English texts of the file and picture errors (code page 1251 like every
// other text of the program).
inline constexpr const char* kStreamReadError = "Stream read error";
inline constexpr const char* kStreamWriteError = "Stream write error";
inline constexpr const char* kBitmapInvalid = "Bitmap image is not valid";

inline std::string CannotOpenFile(const std::string& path) { return "Cannot open file " + path; }
inline std::string CannotCreateFile(const std::string& path) { return "Cannot create file " + path; }
inline std::string UnableToWrite(const std::string& path) { return "Unable to write to " + path; }

}  // namespace tilerack
