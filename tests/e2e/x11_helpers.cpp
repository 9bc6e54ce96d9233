#include "x11_helpers.h"

#include "desktop.h"

namespace e2e {

std::string UnixPath(const std::wstring& windowsPath) {
    using ToUnix = char*(CDECL*)(LPCWSTR);
    const auto toUnix = reinterpret_cast<ToUnix>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (toUnix) {
        if (char* unix = toUnix(windowsPath.c_str())) {
            std::string path = unix;
            HeapFree(GetProcessHeap(), 0, unix);
            return path;
        }
    }
    ADD_FAILURE() << "no Unix path for " << Narrow(windowsPath) << " (not running under Wine?)";
    return {};
}

namespace {

// Starts a Unix program and returns the one line it writes into
// `answerFile` when it is done, or "error ...". Wine starts a program named
// by its Windows path (Z: is the Unix root) as a plain Unix process: no
// Windows process handle comes back, so the answer file tells when it is done.
std::string RunUnixHelper(std::wstring commandLine, const std::wstring& answerFile, std::chrono::milliseconds timeout) {
    DeleteFileW(answerFile.c_str());
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return "error cannot start " + Narrow(commandLine) + ", error " + std::to_string(GetLastError());
    if (info.hThread) CloseHandle(info.hThread);
    if (info.hProcess) CloseHandle(info.hProcess);

    std::optional<Bytes> answer;
    const auto complete = [&] {
        answer = ReadWholeFile(answerFile);
        return answer && !answer->empty() && answer->back() == '\n';
    };
    if (!WaitUntil(complete, timeout)) return "error no answer from " + Narrow(commandLine);
    return std::string(answer->begin(), answer->end() - 1);
}

}  // namespace

std::string DragFilesFromX11(const ScratchDir& dir, POINT from, POINT to, const std::vector<std::wstring>& files,
                             std::chrono::milliseconds rest) {
    const std::wstring script = EnvironmentValue(L"DRAG_SOURCE");
    if (script.empty()) return "error DRAG_SOURCE is not set (run the tests through run-e2e.sh)";
    static int serial = 0;
    const std::wstring request = dir.File(L"drag-request-" + std::to_wstring(++serial) + L".txt");
    std::string text = "from " + std::to_string(from.x) + " " + std::to_string(from.y) + "\nto " +
                       std::to_string(to.x) + " " + std::to_string(to.y) + "\nrest " +
                       std::to_string(rest.count()) + "\n";
    for (const auto& file : files) text += "file " + UnixPath(file) + "\n";
    if (!WriteFileBytes(request, Bytes(text.begin(), text.end()))) return "error cannot write the request";
    return RunUnixHelper(L"Z:\\usr\\bin\\python3 \"" + script + L"\" \"" + Widen(UnixPath(request)) + L"\"",
                         request + L".done", 40s + rest);
}

std::wstring WindowManager() {
    const std::wstring name = EnvironmentValue(L"E2E_WINDOW_MANAGER");
    return name == L"none" ? std::wstring{} : name;
}

namespace {

// Runs one of the X helper scripts (tests/e2e/x11) with `arguments`; its
// answer file goes into the scratch root.
std::string RunX11Helper(const wchar_t* script, const std::wstring& arguments, std::chrono::milliseconds timeout) {
    const std::wstring folder = EnvironmentValue(L"X11_HELPERS");
    if (folder.empty()) return "error X11_HELPERS is not set (run the tests through run-e2e.sh)";
    static int serial = 0;
    const std::wstring answer =
        JoinPath(GetConfig().scratchRoot, std::wstring(script) + L"-" + std::to_wstring(++serial));
    return RunUnixHelper(L"Z:\\bin\\sh \"" + folder + L"/" + script + L"\" " + arguments + L" \"" +
                             Widen(UnixPath(answer)) + L"\"",
                         answer, timeout);
}

}  // namespace

std::string DragWithXPointer(POINT from, POINT to) {
    return RunX11Helper(L"pointer_drag.sh",
                        std::to_wstring(from.x) + L" " + std::to_wstring(from.y) + L" " + std::to_wstring(to.x) + L" " +
                            std::to_wstring(to.y),
                        20s);
}

std::string PressXKeys(const std::vector<std::string>& keys) {
    std::wstring arguments;
    for (const std::string& key : keys) arguments += (arguments.empty() ? L"" : L" ") + Widen(key);
    return RunX11Helper(L"key_press.sh", arguments, 20s);
}

std::string ClickWithXPointer(POINT at) {
    return RunX11Helper(L"pointer_click.sh", std::to_wstring(at.x) + L" " + std::to_wstring(at.y), 20s);
}

std::string XPointerSteps(const std::vector<std::string>& words) {
    std::wstring arguments;
    for (const std::string& word : words) arguments += (arguments.empty() ? L"" : L" ") + Widen(word);
    return RunX11Helper(L"pointer_steps.sh", arguments, 60s);
}

std::vector<std::string> XMoveSteps(POINT from, POINT to, int steps, double restSeconds) {
    std::vector<std::string> words;
    char rest[32];
    snprintf(rest, sizeof rest, "%.3f", restSeconds);
    for (int step = 1; step <= steps; ++step) {
        words.insert(words.end(), {"mousemove", std::to_string(from.x + (to.x - from.x) * step / steps),
                                   std::to_string(from.y + (to.y - from.y) * step / steps), "sleep", rest});
    }
    return words;
}

std::optional<XWindowPlace> XWindowPlaceOf(HWND window) {
    // Wine keeps the X window of each top-level window in this property.
    const auto id = reinterpret_cast<uintptr_t>(GetPropW(window, L"__wine_x11_whole_window"));
    if (id == 0) return std::nullopt;
    wchar_t hex[32];
    swprintf(hex, 32, L"0x%llx", static_cast<unsigned long long>(id));
    const std::string line = RunX11Helper(L"window_place.sh", hex, 10s);
    XWindowPlace place;
    int width = 0, height = 0;
    char state[16] = {};
    if (sscanf(line.c_str(), "%ld %ld %d %d %15s", &place.rect.left, &place.rect.top, &width, &height, state) != 5)
        return std::nullopt;
    place.rect.right = place.rect.left + width;
    place.rect.bottom = place.rect.top + height;
    place.mapped = std::string(state) == "viewable";
    return place;
}

}  // namespace e2e
