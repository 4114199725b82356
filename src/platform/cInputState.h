#pragma once
// What the person at the keyboard and mouse is doing, as the event pump
// last saw it: held keys (lower-cased key symbols, in ascending order), the
// pointer in window units (origin bottom-left), the last click, and the
// state of mouse buttons 1 to 5. Written only by the event pump; key
// processing and the slider panel read it.
#include <cstdint>
#include <set>

struct cInputState {
    std::set<int> heldKeys;
    // Keys pressed and released within one pump, before key processing saw
    // them: they stay held until it has, so a quick tap is never lost.
    std::set<int> releasedUnseen;
    float mouse[3] = {0.f, 0.f, 0.f};
    float lastClick[3] = {0.f, 0.f, 0.f};
    int buttons[6] = {0, 0, 0, 0, 0, 0};  // index 1..5 = SDL button number
    bool pointerInside = false;
    uint32_t lastPointerMoveMs = 0;  // wall-clock ms (SDL ticks) of the last motion
    bool pointerEverMoved = false;

    // Buttons 1..5 folded into bits 1, 2, 4, 8, 16.
    int button_mask() const
    {
        int mask = 0;
        for (int b = 1; b <= 5; ++b)
            if (buttons[b])
                mask |= 1 << (b - 1);
        return mask;
    }
    void reset() { *this = cInputState(); }
};

// The process-wide input state.
cInputState& input_state();
