#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>

namespace slidemill {

// Calls to the office can block forever (a hung process never answers). The watchdog runs
// the expiry action on its own thread when an armed deadline passes, which is what releases
// the blocked caller.
class Watchdog {
public:
    Watchdog();
    ~Watchdog();
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;

    // Starts a deadline timeoutMs from now; onExpire runs once if Disarm comes too late.
    void Arm(int64_t timeoutMs, std::function<void()> onExpire);
    // Ends the deadline; true when it had already expired (the action has then run).
    bool Disarm();
    bool Expired() const;

private:
    void Loop();

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    bool armed_ = false;
    bool expired_ = false;
    bool stopping_ = false;
    std::chrono::steady_clock::time_point deadline_;
    std::function<void()> onExpire_;
    std::thread thread_;
};

// Arms a watchdog for one scope.
class WatchdogScope {
public:
    WatchdogScope(Watchdog& watchdog, int64_t timeoutMs, std::function<void()> onExpire)
        : watchdog_(watchdog) {
        watchdog_.Arm(timeoutMs, std::move(onExpire));
    }
    ~WatchdogScope() { watchdog_.Disarm(); }
    WatchdogScope(const WatchdogScope&) = delete;
    WatchdogScope& operator=(const WatchdogScope&) = delete;

private:
    Watchdog& watchdog_;
};

} // namespace slidemill
