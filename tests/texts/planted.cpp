// Planted texts for the texts check's own test (check_texts.py --self-test):
// it copies this file into a scratch tree as a program source and expects
// exactly the lines that end in the marker below refused. Never compiled.
// A text quoted in a comment is fine: "Выход", "Cannot open file".
/* So is one in a block comment: "Удаление"
   over two lines: L"основной" */
#include "common/app_texts.h"

namespace tilerack {

void Planted(win::DialogWindow& dialog, HWND owner) {
    dialog.CreateDialogFrame(L"TPlanted", "Настройки", 10, 10, owner);  // refused
    dialog.AddControl(L"BUTTON", kSettingsOnTop, BS_AUTOCHECKBOX, Rect{0, 0, 9, 9});
    dialog.AddControl(L"EDIT", "", WS_TABSTOP, Rect{0, 0, 9, 9});
    dialog.AddControl(L"BUTTON", "OK", BS_PUSHBUTTON, Rect{0, 0, 9, 9});  // refused
    dialog.AddButton("...", Rect{0, 0, 9, 9}, 1);  // refused
    dialog.SetTooltip(owner, kItemDialogSaveHint);
    const std::wstring entry = L"1" L" \u00D7 " L"2";  // refused
    const std::string joined = "Прозрачность, "  // refused
                               "%";
    const char* const raw = R"x(Изображение "панели")x";  // refused
    const wchar_t* const wideRaw = LR"(Выход)";  // refused
    const char* const url = "http://example.org/a//b";
    const char quote = '"', apostrophe = '\'';
    const wchar_t wideQuote = L'"', colon = L':', backslash = L'\\';
    const char narrowQuote = u8'"';
    const int million = 1'000'000;
    const char* const escaped = "a \"quoted\" word";
    const char* const afterQuotes = "Выбор файла";  // refused
    throw TError("Cannot read the planted file");  // refused
    throw TError(CannotOpenFile("planted.dat"));
    const char* const device = "\\\\.\\DISPLAY1";
    const wchar_t* const cyrillicEscape = L"\x0430";  // refused
    const char* const lowBytes = "\x01\x02";
}

}  // namespace tilerack
