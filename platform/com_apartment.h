#pragma once
// The thread's COM apartment, joined only when the shell is first asked for
// something (starting a document, the file and folder dialogs) or assistive
// technology first asks for the panel's accessible object: joining
// costs tens of milliseconds and megabytes under Wine, and a start that
// shows only the panel needs none of it.
namespace tilerack::win {

// Joins the calling (user interface) thread to a single-threaded apartment;
// later calls do nothing.
void EnsureComApartment();

// A worker thread's own single-threaded apartment, joined for as long as
// the object lives.
class ThreadApartment {
public:
    ThreadApartment();
    ~ThreadApartment();
    ThreadApartment(const ThreadApartment&) = delete;
    ThreadApartment& operator=(const ThreadApartment&) = delete;

private:
    bool joined_;
};

// Leaves the apartment at the end of the program if it was joined.
class ComApartmentExit {
public:
    ComApartmentExit() = default;
    ~ComApartmentExit();
    ComApartmentExit(const ComApartmentExit&) = delete;
    ComApartmentExit& operator=(const ComApartmentExit&) = delete;
};

}  // namespace tilerack::win
