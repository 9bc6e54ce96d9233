// Writes a small item list to try the panel with: programs every Windows
// (and Wine) has, each with its own icon. `make run` calls it for its run
// folder when that has no list yet; nothing else does, so it never writes
// beside an installed program.
//
//   make_demo_list OUTPUT
#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "items/shortcut_file.h"
#include "platform/file_icons.h"
#include "platform/files.h"
#include "platform/text.h"

using namespace tilerack;

namespace {

constexpr COLORREF kPanelColour = 0x00F4E0E0;  // the panel's default colour

struct DemoProgram {
    bool inSystemFolder;
    const wchar_t* file;
    const char* caption;
    const char* englishCaption;
};

constexpr DemoProgram kPrograms[] = {
    {false, L"notepad.exe", "Блокнот", "Notepad"},
    {true, L"cmd.exe", "Командная строка", "Command Prompt"},
    {false, L"explorer.exe", "Проводник", "File Explorer"},
    {false, L"regedit.exe", "Редактор реестра", "Registry Editor"},
};

// True when nothing but the background was painted.
bool Blank(const TBitmap& picture) {
    const Color background = static_cast<Color>(kPanelColour);
    for (int y = 0; y < picture.Height(); ++y)
        for (int x = 0; x < picture.Width(); ++x)
            if (picture.Pixel(x, y) != background) return false;
    return true;
}

std::wstring Folder(bool system) {
    wchar_t folder[MAX_PATH] = {};
    system ? GetSystemDirectoryW(folder, MAX_PATH) : GetWindowsDirectoryW(folder, MAX_PATH);
    return std::wstring(folder) + L"\\";
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    // "en" after the file: the programs' English names.
    const bool english = argc == 3 && std::wstring(argv[2]) == L"en";
    if (argc != 2 && !english) {
        std::fprintf(stderr, "usage: make_demo_list OUTPUT [en]\n");
        return 2;
    }
    std::vector<std::unique_ptr<TShortCut>> items;
    for (const DemoProgram& program : kPrograms) {
        const std::wstring folder = Folder(program.inSystemFolder);
        const std::wstring path = folder + program.file;
        if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) continue;
        auto item = std::make_unique<TShortCut>();
        item->FileName = win::Narrow(path);
        item->WorkDir = win::Narrow(folder);
        item->Caption = english ? program.englishCaption : program.caption;
        item->Hint = item->Caption;
        win::ExtractFileIcon(item->Icon, item->FileName, 0, kPanelColour);
        // A program without an icon of its own (Wine's file manager): the
        // shell's folder.
        if (Blank(item->Icon)) win::ExtractFileIcon(item->Icon, win::Narrow(Folder(true) + L"shell32.dll"), 3, kPanelColour);
        items.push_back(std::move(item));
    }
    std::vector<const TShortCut*> list;
    for (const auto& item : items) list.push_back(item.get());
    try {
        win::SaveFileSafely(argv[1], SaveShortcutList(list));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "make_demo_list: %s\n", e.what());
        return 1;
    }
    return 0;
}
