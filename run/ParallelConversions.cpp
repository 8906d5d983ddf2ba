#include "run/ParallelConversions.h"

#include "run/ConversionRecord.h"
#include "run/ConversionStep.h"

#include <algorithm>
#include <exception>

namespace slidemill {

std::shared_ptr<PendingConversion> PendingConversion::Finished(int32_t result, std::string errorText) {
    auto pending = std::make_shared<PendingConversion>(ConversionProperties{});
    pending->Complete(result, std::move(errorText));
    return pending;
}

bool PendingConversion::WaitFor(std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [this] { return done_; });
}

void PendingConversion::Complete(int32_t result, std::string errorText) {
    {
        const std::lock_guard lock(mutex_);
        result_ = result;
        errorText_ = std::move(errorText);
        done_ = true;
    }
    changed_.notify_all();
}

ParallelConversions::ParallelConversions(ConversionComponent& component) {
    const int32_t count = std::max(1, component.ConcurrentConversions());
    // Every component is fetched here, on the caller's thread: making one may start work the
    // component does not expect from several threads at once.
    std::vector<ConversionComponent*> components;
    for (int32_t i = 0; i < count; ++i)
        components.push_back(&component.ConcurrentComponent(i));
    threads_.reserve(components.size());
    for (ConversionComponent* each : components)
        threads_.emplace_back([this, each] { Work(*each); });
}

ParallelConversions::~ParallelConversions() {
    DropQueued();
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    for (auto& thread : threads_)
        thread.join();
}

std::shared_ptr<PendingConversion> ParallelConversions::Submit(const ConversionProperties& properties) {
    auto pending = std::make_shared<PendingConversion>(properties);
    {
        const std::lock_guard lock(mutex_);
        queue_.push_back(pending);
    }
    wake_.notify_one();
    return pending;
}

void ParallelConversions::DropQueued() {
    std::deque<std::shared_ptr<PendingConversion>> dropped;
    {
        const std::lock_guard lock(mutex_);
        dropped.swap(queue_);
    }
    for (auto& pending : dropped)
        pending->Complete(kConversionDropped, "not converted: the list stopped first");
}

void ParallelConversions::Work(ConversionComponent& component) {
    for (;;) {
        std::shared_ptr<PendingConversion> job;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
            if (queue_.empty())
                return;
            job = std::move(queue_.front());
            queue_.pop_front();
        }
        int32_t result = 0;
        std::string text;
        try {
            component.SetProperties(job->Properties());
            result = component.Convert();
            text = component.LastErrorText();
        } catch (const std::exception& e) {
            // No result came back, so this file did not convert, whatever the component last said.
            result = kErrComponentFault;
            text = e.what();
        } catch (...) {
            result = kErrComponentFault;
            text = SafeLastErrorText(component);
        }
        job->Complete(result, std::move(text));
    }
}

} // namespace slidemill
