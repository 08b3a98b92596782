#pragma once
// What a control painter needs of the window whose controls it dresses. The window's frame
// provides it; the painters know nothing more of the frame.
#include <memory>
#include <vector>

class TSkinControl;

class TSkinControlHost {
public:
    virtual ~TSkinControlHost() = default;
    // The painters of the window's controls, owned by the window.
    virtual std::vector<std::unique_ptr<TSkinControl>>& Controls() = 0;
    // The control under the mouse (its painter gets the mouse-leave notification when the
    // pointer leaves it or another control becomes hot).
    virtual TSkinControl* HotControl() const = 0;
    virtual void SetHotControl(TSkinControl* control) = 0;
    // The window is being destroyed: what its controls had is not given back.
    virtual bool Destroying() const = 0;
};
