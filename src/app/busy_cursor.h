#pragma once
// The hourglass while the console waits for a device. Requests to show and
// to end it may come unbalanced (a second connect before the first was
// answered); the cursor is pushed at most once and always popped again.

namespace app {

class BusyCursor {
public:
    BusyCursor() = default;
    ~BusyCursor() { set(false); }
    BusyCursor(const BusyCursor &) = delete;
    BusyCursor &operator=(const BusyCursor &) = delete;

    void set(bool busy);
    bool isBusy() const { return shown_; }

private:
    bool shown_ = false;
};

}  // namespace app
