#include "run/ResponsiveComponent.h"

#include <condition_variable>
#include <exception>
#include <mutex>

namespace slidemill {

ResponsiveComponent::ResponsiveComponent(ConversionComponent& inner, RunControl& control,
                                         std::chrono::milliseconds interval)
    : inner_(inner), control_(control), interval_(interval), owner_(std::this_thread::get_id()) {}

ConversionComponent& ResponsiveComponent::ConcurrentComponent(int32_t index) {
    return inner_.ConcurrentComponent(index);
}

float ResponsiveComponent::PercentComplete() const {
    return converting_ ? percent_.load() : inner_.PercentComplete();
}

int32_t ResponsiveComponent::Convert() {
    inner_.SetProperties(properties_);
    if (std::this_thread::get_id() != owner_) {
        inner_.SetProgressHandler([this] {
            percent_ = inner_.PercentComplete();
            RaiseProgress();
        });
        return inner_.Convert();
    }

    percent_ = 0;
    progressPending_ = false;
    inner_.SetProgressHandler([this] {
        percent_ = inner_.PercentComplete();
        progressPending_ = true;
    });

    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    int32_t result = 0;
    std::exception_ptr failure;
    converting_ = true;
    std::thread worker([&] {
        int32_t r = 0;
        std::exception_ptr e;
        try {
            r = inner_.Convert();
        } catch (...) {
            e = std::current_exception();
        }
        const std::lock_guard lock(mutex);
        result = r;
        failure = e;
        done = true;
        finished.notify_one();
    });

    for (;;) {
        {
            std::unique_lock lock(mutex);
            if (finished.wait_for(lock, interval_, [&] { return done; }))
                break;
        }
        if (progressPending_.exchange(false))
            RaiseProgress();
        control_.Checkpoint();
    }
    worker.join();
    converting_ = false;
    inner_.SetProgressHandler({});
    if (progressPending_.exchange(false))
        RaiseProgress();
    if (failure)
        std::rethrow_exception(failure);
    return result;
}

ResponsiveRunParts::ResponsiveRunParts(RunParts& inner, RunControl& control)
    : inner_(inner), control_(control) {}

ConversionComponent& ResponsiveRunParts::Component() {
    ConversionComponent& inner = inner_.Component();
    if (!component_)
        component_ = std::make_unique<ResponsiveComponent>(inner, control_);
    return *component_;
}

} // namespace slidemill
