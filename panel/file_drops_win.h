#pragma once
// Files dragged onto the panel from the shell: the panel registered as an
// OLE drop target at its slide-in (ole_drop_target_win.h), the bar where a
// drop would insert the files (the gaps and bar of an item's drag) or the
// program's item that would open them, the cursor's copy or link, and the
// drop: inserted as items (the shell's plain drop too, where OLE cannot make
// the panel a target), their pictures made off this thread
// (drop_pictures_win.h), or opened with the program, at once or (a
// right-button drop) after a menu. The decisions are portable: drop_place.h
// (a program's middle), item_insert.h (the gap).
#include <windows.h>

#include <shellapi.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "panel/button_strip.h"
#include "panel/drop_arrivals.h"
#include "panel/drop_pictures_win.h"
#include "panel/drop_place.h"
#include "panel/ole_drop_target_win.h"
#include "panel/panel_metrics.h"

namespace tilerack {

class FileDrops final : private DropTargetHost, public StripObserver {
public:
    // What a drop asks of the panel.
    struct Host {
        // A dropped file's item joins the list at `index` with its button;
        // the drop's screen point is where the last click was from now on.
        std::function<void(size_t index, std::unique_ptr<TShortCut> item, POINT at)> InsertItem;
        // The panel colour, a picture's background.
        std::function<COLORREF()> PanelColor;
        // The item's program started with the files.
        std::function<void(const TShortCut&, const std::vector<std::string>&)> OpenWith;
        // Whether a plain drop onto a program opens the files with it.
        std::function<bool()> DropOpens;
        // The pointer watch held (false) while the drop's menu is open.
        std::function<void(bool)> EnableTimerMouse;
        std::function<void()> Invalidate;
    };

    // `metrics` are the panel's, read as the mark is painted.
    FileDrops(const ButtonStrip& strip, const PanelMetrics& metrics, Host host)
        : strip_(strip), metrics_(metrics), host_(std::move(host)) {}
    FileDrops(const FileDrops&) = delete;
    FileDrops& operator=(const FileDrops&) = delete;
    ~FileDrops() override { Release(); }

    void Attach(HWND panel) { panel_ = panel; }
    // The panel a drop target from now on; false where OLE cannot make it
    // one (the caller then takes the shell's plain drops).
    bool Register();
    bool Registered() const { return target_ != nullptr; }
    // At the start: a panel running as administrator gets no drops from the
    // file manager, which runs as the user; that is said once, from the
    // message loop (OnElevatedNotice).
    void TellIfElevated() const;
    void OnElevatedNotice() const;
    // The panel is going: the target is revoked and cut off.
    void Release();
    // The shell's plain drop (WM_DROPFILES): released here; its files are
    // inserted unless it repeats the drop the target has just taken
    // (drop_arrivals.h).
    void TakeShellDrop(HDROP drop);

    // The dropped items' pictures: put in as they come (kDropPicturesMessage),
    // or all waited for before a save; not wanted for an item that goes.
    void DeliverPictures(bool all) { pictures_.Deliver(all); }
    void ForgetPicture(const TShortCut* item) { pictures_.Forget(item); }
    // Pictures are on their way: a save now would store placeholders.
    bool PicturesWaiting() const { return pictures_.Waiting(); }
    // The bar where the files would go, or the frame of the program that
    // would open them, while files are dragged over the strip.
    void PaintMark(HDC dc) const;

    // StripObserver: a drag over the strip names entries by their place.
    void ButtonAdded(const TFlatButton&) override {}
    void ButtonRemoving(const TFlatButton&) override {}
    void OrderChanged() override;

private:
    struct Aim {
        int gap = -1;      // the list gap the files would join, or -1
        int program = -1;  // the list index of the program that would open them, or -1
        bool operator==(const Aim&) const = default;
    };
    // DropTargetHost
    DWORD DragEntered(std::vector<std::string> files, DWORD keys, POINT screen, DWORD allowed) override;
    DWORD DraggedOver(DWORD keys, POINT screen, DWORD allowed) override;
    void DragLeft() override { Forget(); }
    DWORD Dropped(std::vector<std::string> files, DWORD keys, POINT screen, DWORD allowed) override;

    Aim AimAt(POINT screen) const;
    void Show(const Aim& aim);
    DWORD Effect(DWORD allowed) const;
    // The right-button drop's menu over `item`: true when the user chose to
    // open the files with it, false to add them; nothing for "Отмена".
    std::optional<bool> AskOpenOrAdd(const TShortCut& item, POINT screen) const;
    void Forget();
    // The one path of dropped files: each inserted as an item at the screen
    // point `at`, the strip painted once they have all joined.
    void InsertFiles(const std::vector<std::string>& paths, POINT at);

    const ButtonStrip& strip_;
    const PanelMetrics& metrics_;
    Host host_;
    HWND panel_ = nullptr;
    DropArrivals arrivals_;
    OleDropTarget* target_ = nullptr;
    DropPictures pictures_;
    // The drag under way: its files, its entries' spans (taken as it
    // entered), whether the right button drags, and where it aims.
    std::vector<std::string> files_;
    std::vector<StripEntrySpan> spans_;
    bool rightButton_ = false;
    Aim aim_;
};

}  // namespace tilerack
