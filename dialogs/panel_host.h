#pragma once
// What the dialogs may see and do of the panel: its settings, its save, its
// pointer watch and its file icons. The dialogs know nothing else of it.
#include <string>

#include "common/bitmap.h"
#include "common/panel_settings.h"

namespace tilerack {

class IPanelHost {
public:
    virtual ~IPanelHost() = default;

    virtual const PanelSettings& Settings() const = 0;
    // Changes the settings and does what follows from each change: a new side
    // rebuilds the arrows, re-docks and slides in; a new colour or opacity
    // blends the background again and repaints; a new stay-on-top choice
    // changes the window's topmost state.
    virtual void ChangeSettings(const PanelSettings& settings) = 0;
    virtual bool StaysOnTop() const = 0;

    // Writes the settings and the whole item list (errors are thrown).
    virtual void SaveAll() = 0;
    // Runs or stops the pointer watch (TimerMouse); enabling it while it runs
    // keeps its phase.
    virtual void EnableTimerMouse(bool enabled) = 0;

    // With index -1: how many icons to take from the file. Otherwise paints
    // that icon of the file into `bitmap` on the panel's colour.
    virtual int ExtractFileIcon(TBitmap& bitmap, const std::string& fileName, int index) = 0;
};

// Suspends the pointer watch for a modal loop (a menu or a dialog). Menus
// leave it suspended when they close (a press on the panel or a started item
// resumes it); the item commands resume it when their dialog has gone.
class PointerWatchSuspension {
public:
    enum class OnExit { Resume, StaySuspended };
    PointerWatchSuspension(IPanelHost& panel, OnExit onExit) : panel_(panel), onExit_(onExit) {
        panel_.EnableTimerMouse(false);
    }
    ~PointerWatchSuspension() {
        if (onExit_ == OnExit::Resume) panel_.EnableTimerMouse(true);
    }
    PointerWatchSuspension(const PointerWatchSuspension&) = delete;
    PointerWatchSuspension& operator=(const PointerWatchSuspension&) = delete;

private:
    IPanelHost& panel_;
    OnExit onExit_;
};

}  // namespace tilerack
