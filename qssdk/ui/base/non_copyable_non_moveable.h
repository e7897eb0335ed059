// Empty base that rules out copying and moving: UI objects are known to the event registry by address.
#pragma once

namespace qssdk::ui {

class non_copyable_non_moveable {
public:
    non_copyable_non_moveable(const non_copyable_non_moveable&) = delete;
    non_copyable_non_moveable& operator=(const non_copyable_non_moveable&) = delete;

protected:
    non_copyable_non_moveable() = default;
    ~non_copyable_non_moveable() = default;
};

}  // namespace qssdk::ui
