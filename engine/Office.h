#pragma once

#include "engine/EngineOptions.h"
#include "engine/UnoSupport.h"
#include "engine/Watchdog.h"
#include "platform/ChildProcess.h"
#include "platform/FileLock.h"

#include <com/sun/star/container/XNameAccess.hpp>
#include <com/sun/star/document/XTypeDetection.hpp>
#include <com/sun/star/frame/XComponentLoader.hpp>

#include <cstdint>
#include <memory>
#include <string>

namespace slidemill {

// One headless office process with its own locked profile, and the connection to it. A pool
// of several is a set of these, each used by one thread at a time.
class Office {
public:
    Office(const EngineOptions& options, Watchdog& watchdog);
    ~Office();
    Office(const Office&) = delete;
    Office& operator=(const Office&) = delete;

    // Starts the process and connects; false with a reason when that fails.
    bool Start(std::string& error);
    // After a failed Start: the process was killed from outside while starting, which says
    // nothing about whether an office can start.
    bool StartInterrupted() const { return startInterrupted_; }
    // Asks the office to quit, then makes sure it is gone and reaped.
    void Stop();
    // Kills the office's process group at once. The only member safe from another thread
    // (the watchdog), while the owner is blocked in a call.
    void KillFromWatchdog() const;

    bool Connected() const { return connection_ && connection_->loader.is(); }
    // True once the process has ended (crashed or killed).
    bool ProcessGone();
    int64_t ResidentBytes() const { return process_.ResidentBytes(); }
    pid_t Pid() const { return process_.Pid(); }
    const std::string& ProfileFolder() const { return profile_; }
    const std::string& Version() const { return version_; }

    // Only while Connected().
    const css::uno::Reference<css::uno::XComponentContext>& Context() const { return connection_->context; }
    const css::uno::Reference<css::frame::XComponentLoader>& Loader() const { return connection_->loader; }
    // The office's type detection and its filters by name, made at the first use (a call that
    // can fail as any other) and kept as long as the office.
    const css::uno::Reference<css::document::XTypeDetection>& TypeDetection();
    const css::uno::Reference<css::container::XNameAccess>& Filters();

    int conversions = 0;

private:
    bool LockProfile(std::string& error);
    bool Launch(std::string& error);
    // Reads the version, and marks the profile as having seen it (see the definition).
    void ReadVersion();
    void Drop();

    const EngineOptions& options_;
    Watchdog& watchdog_;
    ChildProcess process_;
    FileLock profileLock_;
    std::string profile_;
    std::string pipe_;
    std::string version_;
    bool startInterrupted_ = false;
    // On the heap, so that at exit it can be abandoned without a call through its proxies.
    struct Connection {
        css::uno::Reference<css::uno::XComponentContext> context;
        css::uno::Reference<css::frame::XComponentLoader> loader;
        css::uno::Reference<css::document::XTypeDetection> detection;
        css::uno::Reference<css::container::XNameAccess> filters;
    };
    template <typename Interface>
    const css::uno::Reference<Interface>& Service(css::uno::Reference<Interface>& kept, const char* name);
    std::unique_ptr<Connection> connection_;
};

} // namespace slidemill
