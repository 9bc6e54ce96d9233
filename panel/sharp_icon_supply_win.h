#pragma once
// Sharp file icons at scales above 100 % (sharp_icons.h): the panel shows at
// once with the items' stored pictures; once it has shown, the items on
// screen (every item for the items menu) are asked of the worker
// (sharp_icon_worker_win.h), and the sharp pictures replace the stored ones
// as they come in.
#include <windows.h>

#include <functional>
#include <utility>

#include <memory>

#include "common/panel_settings.h"
#include "panel/item_list.h"
#include "panel/panel_metrics.h"
#include "panel/sharp_icon_worker_win.h"

namespace tilerack {

class SharpIconSupply {
public:
    // What the supply asks of the panel.
    struct Host {
        // A sharp picture came in for a button on screen.
        std::function<void()> Invalidate;
    };

    // `metrics` and `settings` are the panel's, read at each request.
    SharpIconSupply(const ItemList& items, const PanelMetrics& metrics, const PanelSettings& settings, Host host)
        : items_(items), metrics_(metrics), settings_(settings), host_(std::move(host)) {}

    void Attach(HWND panel) { panel_ = panel; }
    // The first show is done: requests are served from now on.
    void Start();
    // Asks for the items on screen (all of them with `everyItem`) not yet asked.
    void Request(bool everyItem = false);
    // The worker's message: takes in what it made.
    void Take();
    // Every item back to its stored picture (the scale or the colour changed).
    void Forget();
    // Items on screen whose sharp picture is not in yet.
    int Waiting() const;

private:
    const ItemList& items_;
    const PanelMetrics& metrics_;
    const PanelSettings& settings_;
    Host host_;
    HWND panel_ = nullptr;
    bool started_ = false;
    std::unique_ptr<SharpIconWorker> worker_;  // made at the first request
};

}  // namespace tilerack
