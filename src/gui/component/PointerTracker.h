#pragma once

namespace s::gui::win {

// The hover, pressed and released states of one clickable thing, written once for everything
// that can be clicked (boxes, buttons, check boxes, links; a bar keeps one per entry it tracks).
// The owner feeds it pointer moves, presses and releases with whether the pointer is inside,
// holds the pointer while wantsCapture() says so, and acts on the outcome.
class PointerTracker {
public:
    enum State { kNormal = 0, kHover = 1, kPressed = 2 };

    struct Outcome {
        bool changed = false;  // the shown state changed
        bool pressed = false;  // the button went down inside
        bool clicked = false;  // it came up inside after going down inside
    };

    Outcome move(bool inside)
    {
        m_inside = inside;
        return show(m_armed ? (inside ? kPressed : kNormal) : (inside ? kHover : kNormal));
    }
    Outcome press(bool inside)
    {
        m_inside = inside;
        if (!inside)
            return show(kNormal);
        m_armed = true;
        Outcome outcome = show(kPressed);
        outcome.pressed = true;
        return outcome;
    }
    Outcome release(bool inside)
    {
        m_inside = inside;
        const bool wasArmed = m_armed;
        m_armed = false;
        Outcome outcome = show(inside ? kHover : kNormal);
        outcome.clicked = wasArmed && inside;
        return outcome;
    }
    // The pointer was taken away (capture lost, hidden, disabled).
    Outcome cancel()
    {
        m_inside = false;
        m_armed = false;
        return show(kNormal);
    }

    State state() const { return m_state; }
    bool isInside() const { return m_inside; }
    // The button went down inside and has not come up.
    bool isArmed() const { return m_armed; }
    bool wantsCapture() const { return m_inside || m_armed; }

private:
    Outcome show(State state)
    {
        Outcome outcome;
        outcome.changed = state != m_state;
        m_state = state;
        return outcome;
    }

    State m_state = kNormal;
    bool m_inside = false;
    bool m_armed = false;
};

}  // namespace s::gui::win
