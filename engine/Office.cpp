#include "engine/Office.h"

#include "platform/BrokenPipe.h"
#include "platform/ProcessEnvironment.h"

#include <com/sun/star/beans/NamedValue.hpp>
#include <com/sun/star/bridge/UnoUrlResolver.hpp>
#include <com/sun/star/bridge/XUnoUrlResolver.hpp>
#include <com/sun/star/configuration/theDefaultProvider.hpp>
#include <com/sun/star/connection/NoConnectException.hpp>
#include <com/sun/star/container/XNameAccess.hpp>
#include <com/sun/star/container/XNameReplace.hpp>
#include <com/sun/star/frame/Desktop.hpp>
#include <com/sun/star/frame/XDesktop.hpp>
#include <com/sun/star/lang/XMultiServiceFactory.hpp>
#include <com/sun/star/util/XChangesBatch.hpp>
#include <com/sun/star/util/XFlushable.hpp>

#include <atomic>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <thread>

namespace slidemill {
namespace {

// The office exits with this code after creating a fresh profile; it must then be started
// again (the launcher script normally hides this).
constexpr int kFirstStartExitCode = 81;
constexpr int kMaxProfiles = 64;
constexpr int64_t kQuitTimeoutMs = 5000;

std::string NewPipeName() {
    static std::atomic<unsigned> counter{0};
    return "slidemill-" + std::to_string(CurrentProcessId()) + "-" + std::to_string(++counter);
}

} // namespace

Office::Office(const EngineOptions& options, Watchdog& watchdog) : options_(options), watchdog_(watchdog) {}

Office::~Office() {
    Stop();
}

bool Office::LockProfile(std::string& error) {
    if (profileLock_.Locked())
        return true;
    const std::string root =
        options_.profileRoot.empty() ? UserCacheFolder() + "/slidemill" : options_.profileRoot;
    // A profile used by two offices makes the second one quit and the first answer both:
    // take the first one nobody holds.
    for (int i = 0; i < kMaxProfiles; ++i) {
        const std::string folder = root + (i == 0 ? "/profile" : "/profile-" + std::to_string(i));
        std::error_code ec;
        std::filesystem::create_directories(folder, ec);
        if (ec)
            continue;
        if (profileLock_.TryLock(folder + "/.slidemill.lock")) {
            profile_ = folder;
            return true;
        }
    }
    error = "no usable office profile under " + root;
    return false;
}

bool Office::Start(std::string& error) {
    // Our side of the connection must survive an office that dies mid-call.
    IgnoreBrokenPipeSignal();
    Stop();
    if (!LockProfile(error))
        return false;
    startInterrupted_ = false;
    const auto began = std::chrono::steady_clock::now();
    // A fresh profile costs one extra start.
    for (int round = 0; round < 3; ++round) {
        if (Launch(error))
            return true;
        int code = 0;
        if (!(process_.HasExited(code) && code == kFirstStartExitCode))
            break;
    }
    // Ended by a signal before any deadline of ours could have killed it: someone else did.
    int code = 0;
    startInterrupted_ =
        process_.HasExited(code) && code > 128 &&
        std::chrono::steady_clock::now() - began < std::chrono::milliseconds(options_.startTimeoutMs);
    Drop();
    process_.Kill();
    return false;
}

bool Office::Launch(std::string& error) {
    pipe_ = NewPipeName();
    const std::string profileUrl = ToUtf8(ToFileUrl(profile_));
    const std::vector<std::string> argv{options_.officeProgram,
                                        "--headless",
                                        "--invisible",
                                        "--nologo",
                                        "--norestore",
                                        "--nodefault",
                                        "--nolockcheck",
                                        "--nofirststartwizard",
                                        "--accept=pipe,name=" + pipe_ + ";urp;StarOffice.ComponentContext",
                                        "-env:UserInstallation=" + profileUrl};
    if (!process_.Start(argv, error))
        return false;

    const auto started = std::chrono::steady_clock::now();
    // Our side of the bridge starts up while the office does (the first time, it takes a while).
    std::string why;
    const auto local = LocalUnoContext(why);
    if (!local.is()) {
        error = why;
        process_.Kill();
        return false;
    }
    const rtl::OUString url = ToOUString("uno:pipe,name=" + pipe_ + ";urp;StarOffice.ComponentContext");
    css::uno::Reference<css::bridge::XUnoUrlResolver> resolver;
    try {
        resolver = css::bridge::UnoUrlResolver::create(local);
    } catch (...) {
        error = "cannot create the connection resolver: " + CurrentUnoExceptionText();
        return false;
    }
    for (;;) {
        int code = 0;
        if (process_.HasExited(code)) {
            error = "the office exited during start with code " + std::to_string(code);
            return false;
        }
        try {
            WatchdogScope guard(watchdog_, options_.startTimeoutMs, [this] { KillFromWatchdog(); });
            const auto remote = resolver->resolve(url);
            connection_ = std::make_unique<Connection>();
            connection_->context.set(remote, css::uno::UNO_QUERY);
            if (connection_->context.is()) {
                auto desktop = css::frame::Desktop::create(connection_->context);
                connection_->loader.set(desktop, css::uno::UNO_QUERY);
            }
            if (!connection_->loader.is()) {
                error = "the office offers no desktop";
                Drop();
                return false;
            }
            ReadVersion();
            return true;
        } catch (const css::connection::NoConnectException&) {
            // Not listening yet.
        } catch (...) {
            error = "cannot connect to the office: " + CurrentUnoExceptionText();
            Drop();
            return false;
        }
        if (std::chrono::steady_clock::now() - started > std::chrono::milliseconds(options_.startTimeoutMs)) {
            error =
                "the office did not answer within " + std::to_string(options_.startTimeoutMs / 1000) + " s";
            process_.Kill();
            return false;
        }
        // A short pause: the office is usually ready within a second, and every pause is waited
        // through in full.
        std::this_thread::sleep_for(std::chrono::milliseconds(15));
    }
}

void Office::ReadVersion() {
    version_ = "LibreOffice";
    try {
        const auto provider = css::configuration::theDefaultProvider::get(connection_->context);
        css::uno::Sequence<css::uno::Any> arguments(1);
        arguments.getArray()[0] <<=
            css::beans::NamedValue("nodepath", css::uno::Any(rtl::OUString("/org.openoffice.Setup/Product")));
        const css::uno::Reference<css::container::XNameAccess> product(
            provider->createInstanceWithArguments("com.sun.star.configuration.ConfigurationUpdateAccess",
                                                  arguments),
            css::uno::UNO_QUERY_THROW);
        rtl::OUString name, number, release, lastSeen;
        product->getByName("ooName") >>= name;
        product->getByName("ooSetupVersionAboutBox") >>= number;
        product->getByName("ooSetupVersion") >>= release;
        product->getByName("ooSetupLastVersion") >>= lastSeen;
        if (!name.isEmpty())
            version_ = ToUtf8(name);
        if (!number.isEmpty())
            version_ += " " + ToUtf8(number);
        // Until a profile records that it has seen this release, the office runs its graphics
        // self-test at every start (seconds where memory is slow to map), and only a desktop
        // window would record it. Ours are never shown, so the profile is marked here: every
        // later start of this profile skips the test.
        if (!release.isEmpty() && lastSeen != release) {
            css::uno::Reference<css::container::XNameReplace>(product, css::uno::UNO_QUERY_THROW)
                ->replaceByName("ooSetupLastVersion", css::uno::Any(release));
            css::uno::Reference<css::util::XChangesBatch>(product, css::uno::UNO_QUERY_THROW)->commitChanges();
            // Written now, not at quit: an office that is killed would otherwise forget it.
            const css::uno::Reference<css::util::XFlushable> flushable(provider, css::uno::UNO_QUERY);
            if (flushable.is())
                flushable->flush();
        }
    } catch (...) {
        // The version is informative only, and the mark only saves time.
    }
}

void Office::Drop() {
    if (UnoRuntimeEnding()) {
        // Released at exit, the proxies would call into a torn-down bridge: leave them.
        (void)connection_.release();
        return;
    }
    connection_.reset();
}

void Office::Stop() {
    if (Connected() && !UnoRuntimeEnding()) {
        int code = 0;
        if (!process_.HasExited(code)) {
            try {
                WatchdogScope guard(watchdog_, kQuitTimeoutMs, [this] { KillFromWatchdog(); });
                css::uno::Reference<css::frame::XDesktop> desktop(connection_->loader, css::uno::UNO_QUERY);
                if (desktop.is())
                    desktop->terminate();
            } catch (...) {
                // Quitting ends the connection, which may end the call with an exception.
            }
        }
    }
    Drop();
    if (process_.Started()) {
        int code = 0;
        if (!UnoRuntimeEnding())
            process_.WaitForExit(static_cast<int>(kQuitTimeoutMs), code);
        process_.Kill();
    }
}

void Office::KillFromWatchdog() const {
    process_.SignalGroup(SIGKILL);
}

template <typename Interface>
const css::uno::Reference<Interface>& Office::Service(css::uno::Reference<Interface>& kept, const char* name) {
    if (!kept.is()) {
        const auto& context = connection_->context;
        kept.set(context->getServiceManager()->createInstanceWithContext(rtl::OUString::createFromAscii(name),
                                                                        context),
                 css::uno::UNO_QUERY_THROW);
    }
    return kept;
}

const css::uno::Reference<css::document::XTypeDetection>& Office::TypeDetection() {
    return Service(connection_->detection, "com.sun.star.document.TypeDetection");
}

const css::uno::Reference<css::container::XNameAccess>& Office::Filters() {
    return Service(connection_->filters, "com.sun.star.document.FilterFactory");
}

bool Office::ProcessGone() {
    int code = 0;
    return !process_.Started() || process_.HasExited(code);
}

} // namespace slidemill
