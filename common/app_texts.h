#pragma once
// Every text of the program that the user sees, by where it is seen, in
// Russian and in English (common/app_language.h): the one place of the
// program's texts. Narrow Russian texts are code page 1251 (the build
// converts the UTF-8 source), English ones ASCII, wide ones UTF-16. A text
// reads as the one of the language spoken when it is read. Texts that the code
// composes with a value are split into a head and a tail around it; the
// functions that compose them say so. Each place has its own name, even
// where two places read alike, so that a translation can tell them apart.
// No other program source holds a text of its own (tests/texts checks it).
#include <cstdint>

#include "common/app_language.h"
#include "tilerack_version.h"

namespace tilerack {

// --- The application --------------------------------------------------------
// The caption of every message box, the panel window's title and the tip of
// the notification-area icon.
inline constexpr Text kAppTitle{"Ярлыкс", "Tilerack"};
inline constexpr TextW kAppTitleW{L"Ярлыкс", L"Tilerack"};
// An exception that carries no text of its own.
inline constexpr Text kUnknownError{"Unknown error", "Unknown error"};

// --- The panel's strip ------------------------------------------------------
// The hints of the fixed buttons.
inline constexpr Text kHintHide{"Скрыть", "Hide"};
inline constexpr Text kHintClose{"Закрыть", "Close"};
inline constexpr Text kHintMenu{"Меню", "Menu"};
// The default action of every button, as the accessible object names it.
inline constexpr Text kButtonPressAction{"Нажать", "Press"};
// The panel's font, which the strip's captions use.
inline constexpr const char* kPanelFontFace = "MS Sans Serif";
inline constexpr int kPanelFontHeight = 11;  // character height in pixels

// --- The context menu -------------------------------------------------------
inline constexpr Text kMenuCreateItem{"Создать иконку...", "New icon..."};    // N1
inline constexpr Text kMenuAddSeparator{"Добавить разделитель", "Add separator"};
inline constexpr Text kMenuMoveUp{"Поднять", "Move up"};                  // N10
inline constexpr Text kMenuMoveDown{"Опустить", "Move down"};               // N11
inline constexpr Text kMenuDelete{"Удалить", "Delete"};                  // N4
inline constexpr Text kMenuShowFile{"Размещение", "Show in folder"};             // N12
inline constexpr Text kMenuProperties{"Свойства...", "Properties..."};          // N3
inline constexpr Text kMenuSettings{"Настройки...", "Settings..."};           // N9
inline constexpr Text kMenuScreens{"Экран", "Screen"};                   // the screens' submenu
inline constexpr Text kMenuExit{"Выход", "Exit"};                      // N7
// The languages' submenu and its entries read alike in both languages, so
// that either speaker finds the way back.
inline constexpr Text kMenuLanguage = Text::Same("Язык / Language");
inline constexpr Text kMenuLanguageRussian = Text::Same("Русский");
inline constexpr Text kMenuLanguageEnglish = Text::Same("English");
// The entries of an item's own: its start as administrator, and (for an item
// that starts a program) files chosen to open with it.
inline constexpr Text kMenuRunAsAdministrator{"Запуск от имени администратора", "Run as administrator"};
inline constexpr Text kMenuOpenFileWith{"Открыть файл в этой программе...", "Open a file with this program..."};
// The menu of a right-button drop onto a program's item: the head and tail
// around the item's caption, then adding the files as items, and nothing.
inline constexpr Text kDropMenuOpenHead{"Открыть в «", "Open with \""};
inline constexpr Text kDropMenuOpenTail{"»", "\""};
inline constexpr Text kDropMenuAdd{"Добавить на панель", "Add to the panel"};
inline constexpr Text kDropMenuCancel{"Отмена", "Cancel"};
// The file dialog of "Открыть файл в этой программе...": its filter.
inline constexpr Text kOpenWithFileFilter{"Все файлы (*.*)|*.*", "All files (*.*)|*.*"};
// Said once at the start of a panel running as administrator.
inline constexpr Text kElevatedNoDrops{
    "Панель запущена от имени администратора: файлы из Проводника на неё перетащить нельзя.",
    "The panel runs as administrator: files cannot be dragged onto it from File Explorer."};
// A folder item's menu of the folder's contents.
inline constexpr Text kFolderMenuMore{"Ещё… открыть папку", "More... open the folder"};  // after the first 500 entries
inline constexpr Text kFolderMenuReading{"Чтение…", "Reading..."};  // until a slow folder answers
inline constexpr Text kFolderMenuUnreadable{"Не удаётся прочитать папку", "The folder cannot be read"};
inline constexpr Text kFolderMenuEmpty{"(пусто)", "(empty)"};
// An entry of the screens' submenu (ScreenEntryText): "1: 1920 × 1080, основной".
inline constexpr TextW kScreenEntryAfterNumberW{L": ", L": "};
inline constexpr TextW kScreenEntryTimesW{L" \u00D7 ", L" x "};
inline constexpr TextW kScreenEntryPrimaryW{L", основной", L", primary"};

// --- The context menu's commands --------------------------------------------
// "Удалить" asks: head, the item's hint, " (", its file, ")".
inline constexpr Text kDeleteCaption{"Удаление", "Delete"};
inline constexpr Text kDeleteQuestionHead{
    "Вы действительно хотите\rудалить ярлык ",
    "Do you really want to\rdelete the shortcut "};
inline constexpr Text kDeleteQuestionFileHead{" (", " ("};
inline constexpr Text kDeleteQuestionTail{")", ")"};
// "Размещение" for an item without a file.
inline constexpr Text kShowFileNoPath{"Путь не задан", "No path is set"};

// --- The item file ----------------------------------------------------------
// A damaged item file whose copy could not be kept: after the damage's own text.
inline constexpr Text kDamagedCopyFailed{
    "Копию повреждённого файла сохранить не удалось, поэтому панель не будет его перезаписывать.",
    "A copy of the damaged file could not be kept, so the panel will not overwrite it."};
// Names in the item file whose UTF-8 is not valid: they show U+FFFD there.
inline constexpr Text kItemFileInvalidTexts{
    "Некоторые имена в файле ярлыков записаны с ошибкой (неверный UTF-8): испорченные знаки в них заменены.",
    "Some names in the shortcut file are written wrongly (invalid UTF-8): their damaged characters were replaced."};
// A save that may not replace the item file: head, the file's path.
inline constexpr Text kItemFileUnreadKeptHead{
    "Файл ярлыков не удалось прочитать, и он оставлен как есть: ",
    "The shortcut file could not be read and was left as it is: "};
inline constexpr Text kItemFileDamagedKeptHead{
    "Копию повреждённого файла ярлыков сохранить не удалось, и он оставлен как есть: ",
    "A copy of the damaged shortcut file could not be kept, and it was left as it is: "};
// Where the panel's list went instead: head, the path of the file it went to.
inline constexpr Text kListKeptBesideHead{
    "Список ярлыков панели сохранён в файле ",
    "The panel's shortcut list was saved in the file "};

// --- Starting an item -------------------------------------------------------
// Put before the shell's refusal (ShellResultMessage).
inline constexpr Text kErrorPrefix{"Ошибка:\r", "Error:\r"};
// The shell's refusals by result code.
inline constexpr Text kLaunchOutOfResources{  // 0
    "Мало памяти или других ресурсов. Перезагрузитесь или закройте другие программы.",
    "The system is out of memory or resources. Restart Windows or close other programs."};
inline constexpr Text kLaunchFileNotFound{"Файл не найден.", "The file was not found."};                // 2
inline constexpr Text kLaunchPathNotFound{"Такого пути не существует.", "The path does not exist."};     // 3
inline constexpr Text kLaunchAccessDenied{"В доступе отказано.", "Access is denied."};            // 5
inline constexpr Text kLaunchOutOfMemory{"Не хватает памяти.", "There is not enough memory."};              // 8
inline constexpr Text kLaunchBadFormat{                                      // 11
    "Эта прграмма либо несовместима с данной ОС, либо повреждена.",
    "This program is either not compatible with this version of Windows or damaged."};
inline constexpr Text kLaunchSharingViolation{"A sharing violation occurred.", "A sharing violation occurred."};  // 26
inline constexpr Text kLaunchAssociationIncomplete{"Неверное имя файла.", "The file name is not valid."};      // 27
inline constexpr Text kLaunchDdeTimeout{                                     // 28
    "The DDE transaction could not be completed because the request timed out.",
    "The DDE transaction could not be completed because the request timed out."};
inline constexpr Text kLaunchDdeFailed{"The DDE transaction failed.", "The DDE transaction failed."};       // 29
inline constexpr Text kLaunchDdeBusy{                                        // 30
    "The DDE transaction could not be completed because other DDE transactions were being processed.",
    "The DDE transaction could not be completed because other DDE transactions were being processed."};
inline constexpr Text kLaunchNoAssociation{                                  // 31
    "С данным расширением не ассоциировано ни одной прграммы.",
    "No program is associated with this file name extension."};
inline constexpr Text kLaunchDllNotFound{
    "The specified dynamic-link library was not found.",
    "The specified dynamic-link library was not found."};  // 32
// Any other code: head, the code.
inline constexpr Text kLaunchResultNumberHead{"Номер ", "Code "};

// --- The hot key ------------------------------------------------------------
// A chord's name (HotKeyName): the modifiers in this order, then the key.
inline constexpr Text kHotKeyControl{"Ctrl+", "Ctrl+"};
inline constexpr Text kHotKeyAlt{"Alt+", "Alt+"};
inline constexpr Text kHotKeyShift{"Shift+", "Shift+"};
// Keys by kind: head, the digit or number.
inline constexpr Text kHotKeyNumPadHead{"Num ", "Num "};
inline constexpr Text kHotKeyFunctionHead{"F", "F"};
// A key with no name: head, two hexadecimal digits of its code.
inline constexpr Text kHotKeyUnnamedHead{"Клавиша 0x", "Key 0x"};
// The keys that are neither letters, digits nor function keys, as a Russian
// keyboard and an English one label them, by virtual-key code.
struct KeyNameText {
    uint8_t code;
    Text name;
};
inline constexpr KeyNameText kHotKeyKeyNames[] = {
    {0x08, {"Backspace", "Backspace"}}, {0x09, {"Tab", "Tab"}},         {0x0D, {"Enter", "Enter"}},
    {0x13, {"Pause", "Pause"}},         {0x1B, {"Esc", "Esc"}},         {0x20, {"Пробел", "Space"}},
    {0x21, {"Page Up", "Page Up"}},     {0x22, {"Page Down", "Page Down"}}, {0x23, {"End", "End"}},
    {0x24, {"Home", "Home"}},           {0x25, {"Влево", "Left"}},      {0x26, {"Вверх", "Up"}},
    {0x27, {"Вправо", "Right"}},        {0x28, {"Вниз", "Down"}},       {0x2C, {"Print Screen", "Print Screen"}},
    {0x2D, {"Insert", "Insert"}},       {0x2E, {"Delete", "Delete"}},   {0x6A, {"Num *", "Num *"}},
    {0x6B, {"Num +", "Num +"}},         {0x6D, {"Num -", "Num -"}},     {0x6E, {"Num .", "Num ."}},
    {0x6F, {"Num /", "Num /"}},         {0x91, {"Scroll Lock", "Scroll Lock"}}, {0xBA, {";", ";"}},
    {0xBB, {"=", "="}},                 {0xBC, {",", ","}},             {0xBD, {"-", "-"}},
    {0xBE, {".", "."}},                 {0xBF, {"/", "/"}},             {0xC0, {"`", "`"}},
    {0xDB, {"[", "["}},                 {0xDC, {"\\", "\\"}},           {0xDD, {"]", "]"}},
    {0xDE, {"'", "'"}},
};
// Another program holds the chord (HotKeyTakenMessage): head, the chord's
// name, tail.
inline constexpr Text kHotKeyTakenHead{"Сочетание клавиш ", "The key combination "};
inline constexpr Text kHotKeyTakenTail{
    " уже занято другой программой; панель работает без него.",
    " is already used by another program; the panel works without it."};

// --- The item dialog (TMainDialog) ------------------------------------------
inline constexpr Text kItemDialogTitle{"Настройки элемента панели", "Panel item settings"};
// The dialog's title while the icon picker is open.
inline constexpr Text kItemDialogPickerOpenTitle{"Выбор иконки...", "Choosing an icon..."};
inline constexpr Text kItemDialogIconGroup{"Иконка", "Icon"};
inline constexpr Text kItemDialogIconName{"Иконка", "Icon"};  // the preview, to a screen reader
inline constexpr Text kItemDialogRandomGlyph{"случайная", "random"};
inline constexpr Text kItemDialogCaptionLabel{"Подпись:", "Caption:"};
inline constexpr Text kItemDialogHintLabel{"Всплывающая подсказка:", "Tooltip:"};
inline constexpr Text kItemDialogChoose{"Выбрать...", "Choose..."};
inline constexpr Text kItemDialogLoadPicture{"Загрузить...", "Load..."};
inline constexpr Text kItemDialogShortcutGroup{"Ярлык", "Shortcut"};
inline constexpr Text kItemDialogFileLabel{"Файл для запуска:", "File to start:"};
inline constexpr Text kItemDialogParamsLabel{"Параметры:", "Parameters:"};
inline constexpr Text kItemDialogWorkDirLabel{"Рабочая папка:", "Working folder:"};
inline constexpr Text kItemDialogTrackDrives{"Учёт смены букв источника", "Follow drive letter changes"};
inline constexpr Text kItemDialogBrowse{"...", "..."};
inline constexpr Text kItemDialogCancel{"Отмена", "Cancel"};
inline constexpr Text kItemDialogOk{"ОК", "OK"};
inline constexpr Text kItemDialogSave{"Сохранить", "Save"};
inline constexpr Text kItemDialogSaveHint{"Немедленное сохранение всех настроек.", "Save all settings now."};
// The file dialogs' filters: description and pattern pairs separated by
// vertical bars, as platform/common_dialogs.h takes them.
inline constexpr Text kOpenPictureFilter{  // "Загрузить..."
    "All (*.bmp;*.ico;*.emf;*.wmf)|*.bmp;*.ico;*.emf;*.wmf|Bitmaps (*.bmp)|*.bmp|Icons (*.ico)|*.ico|"
    "Enhanced Metafiles (*.emf)|*.emf|Metafiles (*.wmf)|*.wmf",
    "All (*.bmp;*.ico;*.emf;*.wmf)|*.bmp;*.ico;*.emf;*.wmf|Bitmaps (*.bmp)|*.bmp|Icons (*.ico)|*.ico|"
    "Enhanced Metafiles (*.emf)|*.emf|Metafiles (*.wmf)|*.wmf"};
inline constexpr Text kItemDialogFileFilter{"Все файлы (*.*)|*.*", "All files (*.*)|*.*"};  // the file to start

// --- The icon picker (TFormSelector) ----------------------------------------
inline constexpr Text kIconPickerTitle{"Выберите иконку", "Choose an icon"};
inline constexpr Text kIconPickerFromCollection{"Выбор из коллекции", "From the collection"};
inline constexpr Text kIconPickerFromFile{"Выбор из файла", "From a file"};
inline constexpr Text kIconPickerBrowse{"...", "..."};
inline constexpr Text kIconPickerBrowseHint{"Выбор файла с иконками", "Choose a file with icons"};
inline constexpr Text kIconPickerLoad{"Загрузить", "Load"};
inline constexpr Text kIconPickerListName{"Коллекция иконок", "Icon collection"};  // to a screen reader
// The list's first entry, which paints a new glyph.
inline constexpr Text kNewEntryCaption{"Новый", "New"};
inline constexpr Text kIconPickerNoCollection{
    "Не найден файл иконок icons.dat",
    "The icon file icons.dat was not found"};
// The browse dialog.
inline constexpr Text kIconPickerBrowseTitle{"Выбор файла с иконками", "Choose a file with icons"};
inline constexpr Text kIconFileFilter{
    "Программы (*.exe)|*.exe|Библиотеки (*.dll)|*.dll|Файлы с иконками (*.dll, *.exe)|*.dll; *.exe|"
    "Все файлы (*.*)|*.*",
    "Programs (*.exe)|*.exe|Libraries (*.dll)|*.dll|Files with icons (*.dll, *.exe)|*.dll; *.exe|"
    "All files (*.*)|*.*"};

// --- The settings dialog (TFormTuning) --------------------------------------
inline constexpr Text kSettingsDialogTitle{"Настройки", "Settings"};
inline constexpr Text kSettingsColorLabel{"Цвет панели:", "Panel colour:"};
inline constexpr Text kSettingsColorName{"Цвет панели", "Panel colour"};  // the swatch, to a screen reader
// The transparency label (TransparencyLabel): "Прозрачность выкл" at 0,
// else head, the percentage, tail.
inline constexpr Text kSettingsTransparencyOff{"Прозрачность выкл", "Transparency off"};
inline constexpr Text kSettingsTransparencyHead{"Прозрачность, ", "Transparency, "};
inline constexpr Text kSettingsTransparencyTail{"%", "%"};
inline constexpr Text kSettingsTrackName{"Прозрачность", "Transparency"};  // the track bar, to a screen reader
inline constexpr Text kSettingsPreviewName{"Образец прозрачности", "Transparency sample"};  // to a screen reader
// The two lines of the preview.
inline constexpr Text kSettingsPreviewUnder{"Изображение под панелью", "Picture under the panel"};
inline constexpr Text kSettingsPreviewPanel{"Изображение панели", "Picture of the panel"};
inline constexpr Text kSettingsDelayLabel{"Задержка:", "Delay:"};
inline constexpr Text kSettingsOnTop{"Поверх других окон", "Always on top"};
inline constexpr Text kSettingsDropOpens{"Файл, брошенный на программу, открывать ею",
                                         "Open a file dropped on a program with it"};
inline constexpr Text kSettingsLeft{"Слева", "Left"};
inline constexpr Text kSettingsRight{"Справа", "Right"};
inline constexpr Text kSettingsAbout{"About", "About"};
inline constexpr Text kSettingsClose{"Закрыть", "Close"};
inline constexpr Text kSettingsAboutText{
    "tilerack " TILERACK_VERSION "\r"
    "Авторы: участники проекта tilerack\r"
    "Подробности — в файле README.md, который прилагается к программе",
    "tilerack " TILERACK_VERSION "\r"
    "Authors: the tilerack project's contributors\r"
    "More in README.md, which comes with the program"};

// --- Failures (English in both languages, as the file and picture errors are)
inline constexpr Text kStreamReadError{"Stream read error", "Stream read error"};
inline constexpr Text kStreamWriteError{"Stream write error", "Stream write error"};
inline constexpr Text kBitmapInvalid{"Bitmap image is not valid", "Bitmap image is not valid"};
inline constexpr Text kIconInvalid{"Icon image is not valid", "Icon image is not valid"};
inline constexpr Text kMetafileInvalid{"Metafile is not valid", "Metafile is not valid"};
inline constexpr Text kInvalidImageSize{"Invalid image size", "Invalid image size"};  // a picture of icons.dat
// Head, the file's name (common/errors.h composes them).
inline constexpr Text kCannotOpenFileHead{"Cannot open file ", "Cannot open file "};
inline constexpr Text kCannotCreateFileHead{"Cannot create file ", "Cannot create file "};
inline constexpr Text kUnableToWriteHead{"Unable to write to ", "Unable to write to "};
// Head, the extension, tail.
inline constexpr Text kUnknownPictureExtensionHead{"Unknown picture file extension (.", "Unknown picture file extension (."};
inline constexpr Text kUnknownPictureExtensionTail{")", ")"};
inline constexpr Text kSettingsFileNotOpen{"The settings file is not open", "The settings file is not open"};
inline constexpr Text kCannotCreatePanelWindow{"Cannot create the panel window", "Cannot create the panel window"};
inline constexpr Text kCannotCreateDialogWindow{"Cannot create the dialog window", "Cannot create the dialog window"};
inline constexpr Text kCannotCreateImageLists{"Cannot create the image lists", "Cannot create the image lists"};

}  // namespace tilerack
