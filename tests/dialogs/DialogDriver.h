#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

// Plays the user of dialogs that run modally on the test's own (user-interface) thread: a driver
// thread waits for a dialog to appear, clicks, types and reads it with real messages, and checks
// what it sees. Every wait polls a condition with a time limit; a wait that runs out fails the
// test and ends the script, after which every dialog still open is cancelled so the modal run
// returns.
class CDriver {
public:
    explicit CDriver(DWORD uiThread, HWND invoker);

    // The visible dialog of the user-interface thread with this caption (and, when given, for
    // which accept() holds).
    HWND WaitForDialog(const char* caption, const std::function<bool(HWND)>& accept = nullptr);
    // The visible message dialog (template 140) whose heading reads heading.
    HWND WaitForMessageDialog(const char* heading);
    // Waits until the window is gone or hidden.
    void WaitGone(HWND window);
    void WaitUntil(const char* what, const std::function<bool()>& condition);

    // A click on a button, as the button reports it to its dialog (posted, so a handler that runs
    // a dialog of its own doesn't hold up the driver).
    void Click(HWND dialog, int id);
    // A click on a check box itself: it toggles and notifies its dialog; returns once it shows the change.
    void ClickControl(HWND dialog, int id);
    void PressKey(HWND window, WPARAM key);
    void SetText(HWND dialog, int id, const std::string& text);
    std::string GetText(HWND dialog, int id);
    std::string GetText(HWND window);

    // Runs work on the user-interface thread, between two of its messages, and waits for it.
    void OnUi(const std::function<void()>& work);

    // Records a failure unless condition holds; the script goes on.
    void Expect(bool condition, const std::string& what);
    template <class T, class U> void ExpectEqual(const T& expected, const U& actual, const std::string& what)
    {
        if (!(expected == actual))
            Fail(what + ": expected " + Describe(expected) + ", got " + Describe(actual));
    }

    void Fail(const std::string& what);
    std::vector<std::string> TakeFailures();
    DWORD GetUiThread() const { return m_uiThread; }

private:
    static std::string Describe(const std::string& value) { return "\"" + value + "\""; }
    static std::string Describe(const char* value) { return Describe(std::string(value)); }
    template <class T> static std::string Describe(const T& value) { return std::to_string(value); }

    DWORD m_uiThread;
    HWND m_invoker;
    std::mutex m_lock;
    std::vector<std::string> m_failures;
};

// Thrown by a wait that ran out of time: ends the script.
struct DriverTimeout {
    std::string what;
};

// Runs modal() on this thread while script(driver) plays the user on another. Failures of the
// script become failures of the current test.
void RunDriven(const std::function<void()>& modal, const std::function<void(CDriver&)>& script);

// The visible dialogs (class #32770) of a thread, topmost first.
std::vector<HWND> FindThreadDialogs(DWORD thread);

// Records a failure unless the window's centre lies on the centre of area (screen coordinates),
// give or take the pixel an odd size rounds away.
void ExpectCentredOn(CDriver& driver, HWND window, const RECT& area, const std::string& what);
