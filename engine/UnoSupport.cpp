#include "engine/UnoSupport.h"

#include "platform/ProcessEnvironment.h"

#include <cppuhelper/bootstrap.hxx>
#include <osl/file.hxx>
#include <rtl/string.hxx>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <mutex>

namespace slidemill {

rtl::OUString ToOUString(const std::string& utf8) {
    return rtl::OStringToOUString(rtl::OString(utf8.data(), static_cast<sal_Int32>(utf8.size())),
                                  RTL_TEXTENCODING_UTF8);
}

std::string ToUtf8(const rtl::OUString& text) {
    const rtl::OString bytes = rtl::OUStringToOString(text, RTL_TEXTENCODING_UTF8);
    return std::string(bytes.getStr(), static_cast<size_t>(bytes.getLength()));
}

rtl::OUString ToFileUrl(const std::string& path) {
    std::error_code ec;
    const auto absolute = std::filesystem::absolute(path, ec);
    if (ec)
        return {};
    rtl::OUString url;
    if (osl::FileBase::getFileURLFromSystemPath(ToOUString(absolute.lexically_normal().string()), url) !=
        osl::FileBase::E_None)
        return {};
    return url;
}

css::uno::Sequence<css::beans::PropertyValue> MakeProperties(const NamedValues& values) {
    css::uno::Sequence<css::beans::PropertyValue> result(static_cast<sal_Int32>(values.size()));
    auto* out = result.getArray();
    for (size_t i = 0; i < values.size(); ++i) {
        out[i].Name = rtl::OUString::createFromAscii(values[i].first);
        out[i].Value = values[i].second;
    }
    return result;
}

namespace {
std::atomic<bool> runtimeEnding{false};
} // namespace

bool UnoRuntimeEnding() {
    return runtimeEnding;
}

css::uno::Reference<css::uno::XComponentContext> LocalUnoContext(std::string& error) {
    static std::mutex mutex;
    // Never destroyed: tearing the runtime down during static destruction is not safe.
    static auto& context = *new css::uno::Reference<css::uno::XComponentContext>;
    static auto& failure = *new std::string;
    std::lock_guard lock(mutex);
    if (!context.is() && failure.empty()) {
        // The bootstrap file tells the runtime where its type libraries and services are.
        SetEnvironmentDefault("URE_BOOTSTRAP",
                              "vnd.sun.star.pathname:" SLIDEMILL_LIBREOFFICE_PROGRAM_DIR "/fundamentalrc");
        // Runs before the destructors of objects made earlier, such as a static component.
        std::atexit([] { runtimeEnding = true; });
        try {
            context = cppu::defaultBootstrap_InitialComponentContext();
        } catch (const css::uno::Exception& e) {
            failure = "the office runtime cannot start: " + ToUtf8(e.Message);
        }
        if (!context.is() && failure.empty())
            failure = "the office runtime cannot start";
    }
    if (!context.is())
        error = failure;
    return context;
}

std::string CurrentUnoExceptionText() {
    try {
        throw;
    } catch (const css::uno::Exception& e) {
        return ToUtf8(e.Message);
    } catch (const std::exception& e) {
        return e.what();
    } catch (...) {
        return "unknown error";
    }
}

} // namespace slidemill
