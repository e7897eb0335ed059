// Base of every UI object (windows and widgets). Destroying one removes every connection it owns and
// every handler connected to it as source.
#pragma once

#include "non_copyable_non_moveable.h"

namespace qssdk::ui {

class event_object : non_copyable_non_moveable {
public:
    // Touches the registry so that it is built before, and therefore destroyed after, any UI object.
    event_object();
    virtual ~event_object();
};

}  // namespace qssdk::ui
