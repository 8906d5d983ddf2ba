#pragma once

#include "core/ConversionComponent.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace slidemill {

// One file handed to ParallelConversions; a worker fills in the result.
class PendingConversion {
public:
    explicit PendingConversion(ConversionProperties properties) : properties_(std::move(properties)) {}

    // A conversion that is decided without the component (it must not run at all).
    static std::shared_ptr<PendingConversion> Finished(int32_t result, std::string errorText);

    // True once the result is in; waits at most timeout for it.
    bool WaitFor(std::chrono::milliseconds timeout);
    // Valid once WaitFor returned true.
    int32_t Result() const { return result_; }
    const std::string& ErrorText() const { return errorText_; }
    const ConversionProperties& Properties() const { return properties_; }

private:
    friend class ParallelConversions;
    void Complete(int32_t result, std::string errorText);

    const ConversionProperties properties_;
    std::mutex mutex_;
    std::condition_variable changed_;
    bool done_ = false;
    int32_t result_ = 0;
    std::string errorText_;
};

// Worker threads, one per concurrent conversion a component offers, that convert the files
// handed to them in the order they came. The caller decides which files may run together.
class ParallelConversions {
public:
    explicit ParallelConversions(ConversionComponent& component);
    // Drops what has not started and waits for the conversions still running.
    ~ParallelConversions();
    ParallelConversions(const ParallelConversions&) = delete;
    ParallelConversions& operator=(const ParallelConversions&) = delete;

    int32_t Workers() const { return static_cast<int32_t>(threads_.size()); }
    std::shared_ptr<PendingConversion> Submit(const ConversionProperties& properties);
    // Conversions not yet started are completed as dropped (never converted); running ones go on.
    void DropQueued();

private:
    void Work(ConversionComponent& component);

    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::shared_ptr<PendingConversion>> queue_;
    bool stopping_ = false;
    std::vector<std::thread> threads_;
};

// The result of a conversion dropped before it started.
inline constexpr int32_t kConversionDropped = -6;

} // namespace slidemill
