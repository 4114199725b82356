#pragma once
// Something shown while the show loads.
class iLoadScreen {
public:
    virtual ~iLoadScreen() = default;
    // Draws one frame for the given progress (0..1). With present, the frame
    // is swapped to the window and kept up for a short while.
    virtual void draw(float progress, bool present) = 0;
};
