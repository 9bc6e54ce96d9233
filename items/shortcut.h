#pragma once
// The shortcut item: one entry of the panel, what one button of the strip
// stands for. Plain data with change-notifying setters and an owned picture.
//
// Where each behaviour lives: shortcut.cpp (the setters and notification);
// shortcut_file.h (its record and the item file "shorts.dat"); glyph_painter.h
// and glyph_text_win.h (generated glyph pictures); launcher.h and
// launch_messages.h (starting an item through the shell).
#include <cstdint>
#include <functional>
#include <string>

#include "common/bitmap.h"
#include "common/byte_stream.h"

namespace tilerack {

class TItemButton;  // the panel's button for an item; never owned by the item

class TShortCut {
public:
    TShortCut();
    ~TShortCut() = default;
    TShortCut(const TShortCut&) = delete;
    TShortCut& operator=(const TShortCut&) = delete;

    bool TrackDrives = true;
    TItemButton* Button = nullptr;
    std::string Params;
    std::string FileName;
    std::string Caption;
    std::string WorkDir;
    std::string Hint;
    TBitmap Icon;
    std::function<void(TShortCut& sender)> OnChange;

    void SetParams(const std::string& value) { SetText(Params, value); }
    void SetFileName(const std::string& value) { SetText(FileName, value); }
    void SetCaption(const std::string& value) { SetText(Caption, value); }
    void SetWorkDir(const std::string& value) { SetText(WorkDir, value); }
    void SetHint(const std::string& value) { SetText(Hint, value); }
    void SetTrackDrives(bool value);

    // The item's record of the item file (see items/shortcut_file.h). Loading
    // stores the fields directly and fires no notification of its own;
    // `textsValid` (when given) tells whether every text read was valid.
    void SaveToStream(ByteWriter& out) const;
    void LoadFromStream(ByteReader& in, bool* textsValid = nullptr);
    // How many bytes SaveToStream writes.
    uint64_t RecordSize() const;

    void DoChange() { if (OnChange) OnChange(*this); }
    void IconChanged() { DoChange(); }

private:
    void SetText(std::string& field, const std::string& value);
};

}  // namespace tilerack
