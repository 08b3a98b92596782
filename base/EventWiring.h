#pragma once
// The handlers a part of a window puts on its controls' events, kept in one list so that the
// part takes every one of them off again with one call (the controls may outlive the part's
// wish to hear from them, for instance while the window goes).
#include <vector>

#include "base/Component.h"

class TEventWiring {
public:
    // Sets `event` to call `handler` of `owner`, and remembers it for Detach.
    template <typename Owner>
    void Attach(TNotifyEvent& event, Owner* owner, void (Owner::*handler)(TObject*)) {
        event = [owner, handler](TObject* sender) { (owner->*handler)(sender); };
        events_.push_back(&event);
    }

    // Every event attached so far calls nothing any more.
    void Detach() {
        for (TNotifyEvent* event : events_) *event = nullptr;
        events_.clear();
    }

private:
    std::vector<TNotifyEvent*> events_;
};
