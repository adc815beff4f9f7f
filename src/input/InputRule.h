#pragma once

// What the user does that ends a saver, for every front end: a key press, a button, the wheel,
// a touch, and the pointer moving beyond a slack from where it was first reported. A key release
// never ends it: a release whose press came after the start has ended it already, and one whose
// press came before (the key that started a test run, say) is not the user coming back.
enum class UserInput { KEY_PRESS, KEY_RELEASE, BUTTON, WHEEL, TOUCH };

// What one pointer position means against where the pointer was first reported.
enum PointerReport {
    POINTER_FIRST, // the first report: where the pointer rests as the saver comes up
    POINTER_STILL, // within the slack of where it rests
    POINTER_MOVED, // beyond it: the user
};

class CInputRule {
public:
    // Window pixels the pointer may stray from where it rests, on either axis. An idle daemon
    // counts every movement of the pointer as the user's return: a saver that let a nudge pass
    // would stay up while the daemon believes the user is back, and the daemon would start a
    // second one at the next timeout. So the slack is as small as the reports allow: one pixel
    // absorbs the rounding of a resting pointer's position reported again (fractional output
    // scales, a browser's CSS pixels), and a nudge of two is the user.
    static constexpr double SHARED_SLACK = 1.0;
    // The Windows saver's own rule: any position other than the first is the user, as the
    // platform reports whole pixels and never repeats a resting pointer elsewhere.
    static constexpr double NO_SLACK = 0.0;

    explicit CInputRule(double slack = SHARED_SLACK) : m_slack(slack), m_known(false), m_x(0), m_y(0) {}

    // Whether the input ends the saver.
    static bool Ends(UserInput input) { return input != UserInput::KEY_RELEASE; }

    // The pointer was reported at (x, y): the first report records where it rests.
    PointerReport OnPointerAt(double x, double y);
    // The pointer came to rest at (x, y) without the user (it entered a window that appeared
    // under it): where it rests from now on.
    void OnPointerRests(double x, double y);
    // The pointer left the saver's windows, or a display change may have moved it: the next
    // report is again only where it rests.
    void ForgetPointer() { m_known = false; }

    bool IsPointerKnown() const { return m_known; }
    double GetRestX() const { return m_x; }
    double GetRestY() const { return m_y; }

private:
    double m_slack;
    bool m_known;
    double m_x;
    double m_y;
};
