#pragma once
// Texts of the panel that the user sees (code page 1251).

namespace tilerack {

inline constexpr const char* kAppTitle = "Ярлыкс";
inline constexpr const wchar_t* kAppTitleW = L"Ярлыкс";
inline constexpr const char* kHintHide = "Скрыть";
inline constexpr const char* kHintClose = "Закрыть";
inline constexpr const char* kHintMenu = "Меню";
inline constexpr const char* kErrorPrefix = "Ошибка:\r";
inline constexpr const char* kPanelFontFace = "MS Sans Serif";
inline constexpr int kPanelFontHeight = 11;  // character height in pixels

}  // namespace tilerack
