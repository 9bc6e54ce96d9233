#include "platform/com_apartment.h"

#include <windows.h>
#include <objbase.h>

namespace tilerack::win {

namespace {
bool g_joined = false;
}  // namespace

void EnsureComApartment() {
    static const bool tried = [] {
        // The shell may start documents through COM handlers.
        g_joined = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
        return true;
    }();
    (void)tried;
}

ThreadApartment::ThreadApartment()
    : joined_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE))) {}

ThreadApartment::~ThreadApartment() {
    if (joined_) CoUninitialize();
}

ComApartmentExit::~ComApartmentExit() {
    if (g_joined) CoUninitialize();
    g_joined = false;
}

}  // namespace tilerack::win
