#pragma once
// A display scale: sizes are designed in pixels of a 96-DPI screen and
// scaled to the screen's real pixels, rounded to the nearest pixel.
namespace tilerack {

struct DpiScale {
    static constexpr int kBaseDpi = 96;
    // Below 96 nothing grows smaller than designed; above 480 (500 %) no
    // screen reports: both come from a damaged or odd source, not a display.
    static constexpr int kMaxDpi = 480;

    int dpi = kBaseDpi;

    static constexpr DpiScale Of(int dpi) {
        return DpiScale{dpi < kBaseDpi ? kBaseDpi : dpi > kMaxDpi ? kMaxDpi : dpi};
    }
    constexpr bool IsBase() const { return dpi == kBaseDpi; }
    // A 96-DPI size in real pixels, halves rounded away from zero; sizes
    // beyond what an int holds stay at its limits.
    constexpr int Scale(int designed) const {
        const long long v = static_cast<long long>(designed) * dpi;
        const long long r = v >= 0 ? (v + kBaseDpi / 2) / kBaseDpi : -((-v + kBaseDpi / 2) / kBaseDpi);
        constexpr long long kMax = 2147483647LL, kMin = -kMax - 1;
        return static_cast<int>(r > kMax ? kMax : r < kMin ? kMin : r);
    }
    // Real pixels back in 96-DPI pixels: Unscale(Scale(v)) == v for every v.
    constexpr int Unscale(int pixels) const {
        const long long v = static_cast<long long>(pixels) * kBaseDpi;
        return static_cast<int>(v >= 0 ? (v + dpi / 2) / dpi : -((-v + dpi / 2) / dpi));
    }
    friend constexpr bool operator==(DpiScale a, DpiScale b) { return a.dpi == b.dpi; }
    friend constexpr bool operator!=(DpiScale a, DpiScale b) { return a.dpi != b.dpi; }
};

}  // namespace tilerack
