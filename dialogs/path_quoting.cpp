#include "dialogs/path_quoting.h"

namespace tilerack {

std::string QuoteIfSpaced(const std::string& path) {
    if (path.find(' ') == std::string::npos || (!path.empty() && path.front() == '"')) return path;
    return '"' + path + '"';
}

std::string FirstCommandLineElement(const std::string& text) {
    size_t start = text.find_first_not_of(' ');
    if (start == std::string::npos) return {};
    if (text[start] == '"') {
        ++start;
        const size_t close = text.find('"', start);
        return text.substr(start, close == std::string::npos ? std::string::npos : close - start);
    }
    const size_t end = text.find(' ', start);
    return text.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

std::string EditFileName(const std::string& text, const std::function<bool(const std::string&)>& fileExists) {
    if (!text.empty() && fileExists(text)) return text;
    return FirstCommandLineElement(text);
}

}  // namespace tilerack
