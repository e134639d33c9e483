#pragma once
// A main-level window that is shown at the size and place the user last
// gave it, instead of filling the screen as the others do.

class OwnGeometry {
public:
    virtual ~OwnGeometry() = default;
    // Shows the window where it was last, or maximised the first time.
    virtual void showWithOwnGeometry() = 0;
};
