#pragma once
// The item file over the panel's run: the start's read (a long file in two
// steps), a file that is there but could not be read (held by another
// program, refused) read as soon as it can be, the list's changes gathered
// into saves a moment after they happen, and what a save may replace. The
// rules are items/item_file_state.h and panel/save_gathering.h.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "items/item_file_state.h"
#include "items/shortcut_file.h"
#include "panel/button_strip.h"
#include "panel/save_gathering.h"
#include "platform/files.h"

namespace tilerack {

// Every new order of the strip it watches is a change of the list.
class ItemFileSession final : public StripObserver {
public:
    // What the session needs of the panel.
    struct Host {
        // An item read from the file joins the list at `index` with its
        // button; the strip is laid out once the read ends (ItemsRead).
        std::function<void(size_t index, std::unique_ptr<TShortCut> item)> TakeReadItem;
        std::function<void()> ItemsRead;
        // The items in list order, for saving.
        std::function<std::vector<const TShortCut*>()> ItemsToSave;
        // The list is in the middle of a change (a drag under way, the
        // pictures of a drop on their way): a gathered save waits.
        std::function<bool()> ListInMotion;
    };

    // The timers of the window given to Attach: the retries and the gathered saves.
    static constexpr UINT_PTR kTimerRetryId = 5;
    static constexpr UINT_PTR kTimerSaveId = 6;

    explicit ItemFileSession(Host host) : host_(std::move(host)) {}
    void Attach(HWND window) { window_ = window; }
    // True when the timer `id` was one of the session's.
    bool OnTimer(UINT_PTR id);

    // "shorts.dat" beside the program.
    static std::wstring Path();
    // The start's read: the first `shown` items of a long file, the rest
    // after the first paint (ReadRest). True when the file was open. A
    // damaged file's copy is kept before its text is handed back in
    // `damage`; a file that is there but could not be opened is tried again.
    bool ReadAtStart(int shown, std::string& damage);
    // The rest of a long file; throws "Stream read error" when it cannot be
    // read, or the damage found.
    void ReadRest();

    // The user changed the list (an item joining from the file is no change).
    void ListChanged();
    // StripObserver
    void ButtonAdded(const TFlatButton&) override {}
    void ButtonRemoving(const TFlatButton&) override {}
    void OrderChanged() override { ListChanged(); }
    // Writes the list now (the item dialog's "Сохранить", the close). A file
    // that may not be replaced keeps its place, and the list goes to a file
    // beside it; both are said in the failure thrown.
    void Save();
    // Writes of the item file in this run.
    int SaveCount() const { return gathering_.SaveCount(); }

private:
    void Retry();
    // Reads the whole file now, its items before those of the list; false
    // when it still cannot be opened.
    bool ReadLate(std::string& damage);
    std::string DamageOf(const ShortcutListLoad& load, int reported);
    std::string KeepCopyOfDamaged(const std::string& damage);
    void SaveGathered();
    void WriteList();
    // The list as it stands, in a new file beside the item file; its path,
    // or the failure to make it.
    std::string KeepListBeside();
    void ScheduleSave();
    void TakeItem(size_t index, std::unique_ptr<TShortCut> item);

    Host host_;
    HWND window_ = nullptr;
    ItemFileState state_;
    SaveGathering gathering_;
    int failedTries_ = 0;
    // Items joining from the file: no change of the user's.
    bool reading_ = false;
    // A long item file read in two steps: the file, open and barred to
    // writers, and its first step, until the rest is read.
    std::unique_ptr<win::FileReader> rest_;
    ShortcutListLoad head_;
};

}  // namespace tilerack
