#pragma once
// Every text of the program that the user sees, by where it is seen: the one
// place a translation would change. Narrow texts are code page 1251 (the
// build converts the UTF-8 source), wide ones UTF-16. Texts that the code
// composes with a value are split into a head and a tail around it; the
// functions that compose them say so. Each place has its own name, even
// where two places read alike, so that a translation can tell them apart.
// No other program source holds a text of its own (tests/texts checks it).
#include <cstdint>

#include "tilerack_version.h"

namespace tilerack {

// --- The application --------------------------------------------------------
// The caption of every message box, the panel window's title and the tip of
// the notification-area icon.
inline constexpr const char* kAppTitle = "Ярлыкс";
inline constexpr const wchar_t* kAppTitleW = L"Ярлыкс";
// An exception that carries no text of its own.
inline constexpr const char* kUnknownError = "Unknown error";

// --- The panel's strip ------------------------------------------------------
// The hints of the fixed buttons.
inline constexpr const char* kHintHide = "Скрыть";
inline constexpr const char* kHintClose = "Закрыть";
inline constexpr const char* kHintMenu = "Меню";
// The default action of every button, as the accessible object names it.
inline constexpr const char* kButtonPressAction = "Нажать";
// The panel's font, which the strip's captions use.
inline constexpr const char* kPanelFontFace = "MS Sans Serif";
inline constexpr int kPanelFontHeight = 11;  // character height in pixels

// --- The context menu -------------------------------------------------------
inline constexpr const char* kMenuCreateItem = "Создать иконку...";    // N1
inline constexpr const char* kMenuAddSeparator = "Добавить разделитель";
inline constexpr const char* kMenuMoveUp = "Поднять";                  // N10
inline constexpr const char* kMenuMoveDown = "Опустить";               // N11
inline constexpr const char* kMenuDelete = "Удалить";                  // N4
inline constexpr const char* kMenuShowFile = "Размещение";             // N12
inline constexpr const char* kMenuProperties = "Свойства...";          // N3
inline constexpr const char* kMenuSettings = "Настройки...";           // N9
inline constexpr const char* kMenuScreens = "Экран";                   // the screens' submenu
inline constexpr const char* kMenuExit = "Выход";                      // N7
// The entries of an item's own: its start as administrator, and (for an item
// that starts a program) files chosen to open with it.
inline constexpr const char* kMenuRunAsAdministrator = "Запуск от имени администратора";
inline constexpr const char* kMenuOpenFileWith = "Открыть файл в этой программе...";
// The menu of a right-button drop onto a program's item: the head and tail
// around the item's caption, then adding the files as items, and nothing.
inline constexpr const char* kDropMenuOpenHead = "Открыть в «";
inline constexpr const char* kDropMenuOpenTail = "»";
inline constexpr const char* kDropMenuAdd = "Добавить на панель";
inline constexpr const char* kDropMenuCancel = "Отмена";
// The file dialog of "Открыть файл в этой программе...": its filter.
inline constexpr const char* kOpenWithFileFilter = "Все файлы (*.*)|*.*";
// Said once at the start of a panel running as administrator.
inline constexpr const char* kElevatedNoDrops =
    "Панель запущена от имени администратора: файлы из Проводника на неё перетащить нельзя.";
// A folder item's menu of the folder's contents.
inline constexpr const char* kFolderMenuMore = "Ещё… открыть папку";    // after the first 500 entries
inline constexpr const char* kFolderMenuReading = "Чтение…";             // until a slow folder answers
inline constexpr const char* kFolderMenuUnreadable = "Не удаётся прочитать папку";
inline constexpr const char* kFolderMenuEmpty = "(пусто)";
// An entry of the screens' submenu (ScreenEntryText): "1: 1920 × 1080, основной".
inline constexpr const wchar_t* kScreenEntryAfterNumberW = L": ";
inline constexpr const wchar_t* kScreenEntryTimesW = L" \u00D7 ";
inline constexpr const wchar_t* kScreenEntryPrimaryW = L", основной";

// --- The context menu's commands --------------------------------------------
// "Удалить" asks: head, the item's hint, " (", its file, ")".
inline constexpr const char* kDeleteCaption = "Удаление";
inline constexpr const char* kDeleteQuestionHead = "Вы действительно хотите\rудалить ярлык ";
inline constexpr const char* kDeleteQuestionFileHead = " (";
inline constexpr const char* kDeleteQuestionTail = ")";
// "Размещение" for an item without a file.
inline constexpr const char* kShowFileNoPath = "Путь не задан";

// --- The item file ----------------------------------------------------------
// A damaged item file whose copy could not be kept: after the damage's own text.
inline constexpr const char* kDamagedCopyFailed =
    "Копию повреждённого файла сохранить не удалось, поэтому панель не будет его перезаписывать.";
// Names in the item file whose UTF-8 is not valid: they show U+FFFD there.
inline constexpr const char* kItemFileInvalidTexts =
    "Некоторые имена в файле ярлыков записаны с ошибкой (неверный UTF-8): испорченные знаки в них заменены.";
// A save that may not replace the item file: head, the file's path.
inline constexpr const char* kItemFileUnreadKeptHead = "Файл ярлыков не удалось прочитать, и он оставлен как есть: ";
inline constexpr const char* kItemFileDamagedKeptHead =
    "Копию повреждённого файла ярлыков сохранить не удалось, и он оставлен как есть: ";
// Where the panel's list went instead: head, the path of the file it went to.
inline constexpr const char* kListKeptBesideHead = "Список ярлыков панели сохранён в файле ";

// --- Starting an item -------------------------------------------------------
// Put before the shell's refusal (ShellResultMessage).
inline constexpr const char* kErrorPrefix = "Ошибка:\r";
// The shell's refusals by result code.
inline constexpr const char* kLaunchOutOfResources =  // 0
    "Мало памяти или других ресурсов. Перезагрузитесь или закройте другие программы.";
inline constexpr const char* kLaunchFileNotFound = "Файл не найден.";                // 2
inline constexpr const char* kLaunchPathNotFound = "Такого пути не существует.";     // 3
inline constexpr const char* kLaunchAccessDenied = "В доступе отказано.";            // 5
inline constexpr const char* kLaunchOutOfMemory = "Не хватает памяти.";              // 8
inline constexpr const char* kLaunchBadFormat =                                      // 11
    "Эта прграмма либо несовместима с данной ОС, либо повреждена.";
inline constexpr const char* kLaunchSharingViolation = "A sharing violation occurred.";  // 26
inline constexpr const char* kLaunchAssociationIncomplete = "Неверное имя файла.";      // 27
inline constexpr const char* kLaunchDdeTimeout =                                     // 28
    "The DDE transaction could not be completed because the request timed out.";
inline constexpr const char* kLaunchDdeFailed = "The DDE transaction failed.";       // 29
inline constexpr const char* kLaunchDdeBusy =                                        // 30
    "The DDE transaction could not be completed because other DDE transactions were being processed.";
inline constexpr const char* kLaunchNoAssociation =                                  // 31
    "С данным расширением не ассоциировано ни одной прграммы.";
inline constexpr const char* kLaunchDllNotFound = "The specified dynamic-link library was not found.";  // 32
// Any other code: head, the code.
inline constexpr const char* kLaunchResultNumberHead = "Номер ";

// --- The hot key ------------------------------------------------------------
// A chord's name (HotKeyName): the modifiers in this order, then the key.
inline constexpr const char* kHotKeyControl = "Ctrl+";
inline constexpr const char* kHotKeyAlt = "Alt+";
inline constexpr const char* kHotKeyShift = "Shift+";
// Keys by kind: head, the digit or number.
inline constexpr const char* kHotKeyNumPadHead = "Num ";
inline constexpr const char* kHotKeyFunctionHead = "F";
// A key with no name: head, two hexadecimal digits of its code.
inline constexpr const char* kHotKeyUnnamedHead = "Клавиша 0x";
// The keys that are neither letters, digits nor function keys, as a Russian
// keyboard labels them, by virtual-key code.
struct KeyNameText {
    uint8_t code;
    const char* name;
};
inline constexpr KeyNameText kHotKeyKeyNames[] = {
    {0x08, "Backspace"}, {0x09, "Tab"},      {0x0D, "Enter"},    {0x13, "Pause"},    {0x1B, "Esc"},
    {0x20, "Пробел"},    {0x21, "Page Up"},  {0x22, "Page Down"}, {0x23, "End"},     {0x24, "Home"},
    {0x25, "Влево"},     {0x26, "Вверх"},    {0x27, "Вправо"},   {0x28, "Вниз"},     {0x2C, "Print Screen"},
    {0x2D, "Insert"},    {0x2E, "Delete"},   {0x6A, "Num *"},    {0x6B, "Num +"},    {0x6D, "Num -"},
    {0x6E, "Num ."},     {0x6F, "Num /"},    {0x91, "Scroll Lock"}, {0xBA, ";"},     {0xBB, "="},
    {0xBC, ","},         {0xBD, "-"},        {0xBE, "."},        {0xBF, "/"},        {0xC0, "`"},
    {0xDB, "["},         {0xDC, "\\"},       {0xDD, "]"},        {0xDE, "'"},
};
// Another program holds the chord (HotKeyTakenMessage): head, the chord's
// name, tail.
inline constexpr const char* kHotKeyTakenHead = "Сочетание клавиш ";
inline constexpr const char* kHotKeyTakenTail = " уже занято другой программой; панель работает без него.";

// --- The item dialog (TMainDialog) ------------------------------------------
inline constexpr const char* kItemDialogTitle = "Настройки элемента панели";
// The dialog's title while the icon picker is open.
inline constexpr const char* kItemDialogPickerOpenTitle = "Выбор иконки...";
inline constexpr const char* kItemDialogIconGroup = "Иконка";
inline constexpr const char* kItemDialogIconName = "Иконка";  // the preview, to a screen reader
inline constexpr const char* kItemDialogRandomGlyph = "случайная";
inline constexpr const char* kItemDialogCaptionLabel = "Подпись:";
inline constexpr const char* kItemDialogHintLabel = "Всплывающая подсказка:";
inline constexpr const char* kItemDialogChoose = "Выбрать...";
inline constexpr const char* kItemDialogLoadPicture = "Загрузить...";
inline constexpr const char* kItemDialogShortcutGroup = "Ярлык";
inline constexpr const char* kItemDialogFileLabel = "Файл для запуска:";
inline constexpr const char* kItemDialogParamsLabel = "Параметры:";
inline constexpr const char* kItemDialogWorkDirLabel = "Рабочая папка:";
inline constexpr const char* kItemDialogTrackDrives = "Учёт смены букв источника";
inline constexpr const char* kItemDialogBrowse = "...";
inline constexpr const char* kItemDialogCancel = "Отмена";
inline constexpr const char* kItemDialogOk = "ОК";
inline constexpr const char* kItemDialogSave = "Сохранить";
inline constexpr const char* kItemDialogSaveHint = "Немедленное сохранение всех настроек.";
// The file dialogs' filters: description and pattern pairs separated by
// vertical bars, as platform/common_dialogs.h takes them.
inline constexpr const char* kOpenPictureFilter =  // "Загрузить..."
    "All (*.bmp;*.ico;*.emf;*.wmf)|*.bmp;*.ico;*.emf;*.wmf|Bitmaps (*.bmp)|*.bmp|Icons (*.ico)|*.ico|"
    "Enhanced Metafiles (*.emf)|*.emf|Metafiles (*.wmf)|*.wmf";
inline constexpr const char* kItemDialogFileFilter = "Все файлы (*.*)|*.*";  // the file to start

// --- The icon picker (TFormSelector) ----------------------------------------
inline constexpr const char* kIconPickerTitle = "Выберите иконку";
inline constexpr const char* kIconPickerFromCollection = "Выбор из коллекции";
inline constexpr const char* kIconPickerFromFile = "Выбор из файла";
inline constexpr const char* kIconPickerBrowse = "...";
inline constexpr const char* kIconPickerBrowseHint = "Выбор файла с иконками";
inline constexpr const char* kIconPickerLoad = "Загрузить";
inline constexpr const char* kIconPickerListName = "Коллекция иконок";  // to a screen reader
// The list's first entry, which paints a new glyph.
inline constexpr const char* kNewEntryCaption = "Новый";
inline constexpr const char* kIconPickerNoCollection = "Не найден файл иконок icons.dat";
// The browse dialog.
inline constexpr const char* kIconPickerBrowseTitle = "Выбор файла с иконками";
inline constexpr const char* kIconFileFilter =
    "Программы (*.exe)|*.exe|Библиотеки (*.dll)|*.dll|Файлы с иконками (*.dll, *.exe)|*.dll; *.exe|"
    "Все файлы (*.*)|*.*";

// --- The settings dialog (TFormTuning) --------------------------------------
inline constexpr const char* kSettingsDialogTitle = "Настройки";
inline constexpr const char* kSettingsColorLabel = "Цвет панели:";
inline constexpr const char* kSettingsColorName = "Цвет панели";  // the swatch, to a screen reader
// The transparency label (TransparencyLabel): "Прозрачность выкл" at 0,
// else head, the percentage, tail.
inline constexpr const char* kSettingsTransparencyOff = "Прозрачность выкл";
inline constexpr const char* kSettingsTransparencyHead = "Прозрачность, ";
inline constexpr const char* kSettingsTransparencyTail = "%";
inline constexpr const char* kSettingsTrackName = "Прозрачность";  // the track bar, to a screen reader
inline constexpr const char* kSettingsPreviewName = "Образец прозрачности";  // to a screen reader
// The two lines of the preview.
inline constexpr const char* kSettingsPreviewUnder = "Изображение под панелью";
inline constexpr const char* kSettingsPreviewPanel = "Изображение панели";
inline constexpr const char* kSettingsDelayLabel = "Задержка:";
inline constexpr const char* kSettingsOnTop = "Поверх других окон";
inline constexpr const char* kSettingsDropOpens = "Файл, брошенный на программу, открывать ею";
inline constexpr const char* kSettingsLeft = "Слева";
inline constexpr const char* kSettingsRight = "Справа";
inline constexpr const char* kSettingsAbout = "About";
inline constexpr const char* kSettingsClose = "Закрыть";
inline constexpr const char* kSettingsAboutText =
    "tilerack " TILERACK_VERSION "\r"
    "Авторы: участники проекта tilerack\r"
    "Подробности — в файле README.md, который прилагается к программе";

// --- Failures (English, as the file and picture errors are) ------------------
inline constexpr const char* kStreamReadError = "Stream read error";
inline constexpr const char* kStreamWriteError = "Stream write error";
inline constexpr const char* kBitmapInvalid = "Bitmap image is not valid";
inline constexpr const char* kIconInvalid = "Icon image is not valid";
inline constexpr const char* kMetafileInvalid = "Metafile is not valid";
inline constexpr const char* kInvalidImageSize = "Invalid image size";  // a picture of icons.dat
// Head, the file's name (common/errors.h composes them).
inline constexpr const char* kCannotOpenFileHead = "Cannot open file ";
inline constexpr const char* kCannotCreateFileHead = "Cannot create file ";
inline constexpr const char* kUnableToWriteHead = "Unable to write to ";
// Head, the extension, tail.
inline constexpr const char* kUnknownPictureExtensionHead = "Unknown picture file extension (.";
inline constexpr const char* kUnknownPictureExtensionTail = ")";
inline constexpr const char* kSettingsFileNotOpen = "The settings file is not open";
inline constexpr const char* kCannotCreatePanelWindow = "Cannot create the panel window";
inline constexpr const char* kCannotCreateDialogWindow = "Cannot create the dialog window";
inline constexpr const char* kCannotCreateImageLists = "Cannot create the image lists";

}  // namespace tilerack
