#pragma once
// Nodes of the slider panel. Coordinates are normalised screen units: x
// from 0 (left) to 1 (right), y from 0 (bottom) to 1 (top); whoever draws a
// node sets up the matching orthographic projection.

// Pointer events a node understands.
enum eGuiEvent {
    GUI_QUERY1 = 1,
    GUI_QUERY2 = 2,
    GUI_QUERY3 = 3,
    GUI_DRAG = 7,     // pointer moved while a button is held
    GUI_GRAB = 8,
    GUI_RELEASE = 9,
};

class iGuiNode {
public:
    virtual ~iGuiNode() = default;
    virtual void update() {}
    virtual void init() {}
    virtual bool handleEvent(int type, float x, float y) = 0;
    virtual void draw() = 0;
    virtual bool hitTest(float x, float y) = 0;
    virtual void setPosition(float x, float y) = 0;
    virtual void getPosition(float& x, float& y) = 0;
    // The node is grabbed by the pointer.
    virtual bool isActive() = 0;
};
