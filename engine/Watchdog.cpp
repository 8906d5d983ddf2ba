#include "engine/Watchdog.h"

namespace slidemill {

Watchdog::Watchdog() : thread_([this] { Loop(); }) {}

Watchdog::~Watchdog() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

void Watchdog::Arm(int64_t timeoutMs, std::function<void()> onExpire) {
    {
        std::lock_guard lock(mutex_);
        armed_ = true;
        expired_ = false;
        deadline_ = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        onExpire_ = std::move(onExpire);
    }
    changed_.notify_all();
}

bool Watchdog::Disarm() {
    std::lock_guard lock(mutex_);
    armed_ = false;
    onExpire_ = nullptr;
    return expired_;
}

bool Watchdog::Expired() const {
    std::lock_guard lock(mutex_);
    return expired_;
}

void Watchdog::Loop() {
    std::unique_lock lock(mutex_);
    while (!stopping_) {
        if (!armed_) {
            changed_.wait(lock);
            continue;
        }
        if (changed_.wait_until(lock, deadline_) == std::cv_status::timeout && armed_ &&
            std::chrono::steady_clock::now() >= deadline_) {
            armed_ = false;
            expired_ = true;
            // The action runs under the lock so that a Disarm racing it returns only once it
            // is done, and reports that it happened.
            if (onExpire_)
                onExpire_();
            onExpire_ = nullptr;
        }
    }
}

} // namespace slidemill
