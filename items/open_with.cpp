#include "items/open_with.h"

namespace tilerack {

namespace {

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

bool NamesAProgram(std::string_view fileName) {
    if (fileName.size() >= 2 && fileName.front() == '"' && fileName.back() == '"')
        fileName = fileName.substr(1, fileName.size() - 2);
    const size_t dot = fileName.find_last_of('.');
    if (dot == std::string_view::npos || fileName.find_first_of("\\/", dot) != std::string_view::npos) return false;
    std::string extension;
    for (const char c : fileName.substr(dot)) extension += Lower(c);
    return extension == ".exe" || extension == ".com" || extension == ".bat" || extension == ".cmd";
}

std::string OpenWithParameters(std::string_view itemParameters, const std::vector<std::string>& files) {
    std::string out(itemParameters);
    for (const std::string& file : files) {
        if (!out.empty()) out += ' ';
        size_t trailing = 0;
        while (trailing < file.size() && file[file.size() - 1 - trailing] == '\\') ++trailing;
        out += '"' + file + std::string(trailing, '\\') + '"';
    }
    return out;
}

LaunchVerb VerbForModifiers(bool control, bool shift) {
    return control && shift ? LaunchVerb::RunAs : LaunchVerb::Open;
}

}  // namespace tilerack
