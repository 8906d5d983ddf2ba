#include "engine/LibreOfficeComponent.h"

#include "engine/EngineFormats.h"
#include "engine/EngineTexts.h"
#include "engine/Office.h"
#include "engine/OutputStaging.h"
#include "engine/PackageContentType.h"
#include "engine/PresentationExport.h"
#include "engine/ProtectedFileCheck.h"
#include "engine/UnoCallbacks.h"

#include <com/sun/star/container/XNameAccess.hpp>
#include <com/sun/star/document/MacroExecMode.hpp>
#include <com/sun/star/document/UpdateDocMode.hpp>
#include <com/sun/star/document/XTypeDetection.hpp>
#include <com/sun/star/frame/XLoadable.hpp>
#include <com/sun/star/lang/DisposedException.hpp>
#include <com/sun/star/lang/XMultiComponentFactory.hpp>
#include <com/sun/star/util/XCloseable.hpp>

#include <rtl/ref.hxx>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <future>
#include <optional>
#include <thread>

namespace fs = std::filesystem;

namespace slidemill {
namespace {

using css::uno::Any;
using css::uno::Reference;

// Offices killed while starting that one wait for an office may see.
constexpr int kMaxInterruptedStarts = 10;

// Where the office's progress lands in the whole conversion.
constexpr float kLoadedPercent = 40.0f;

// A failure inside a conversion: the result code and what the office said.
struct Outcome {
    EngineResult result = kEngineOk;
    std::string detail;
};

// Puts right what the office's filter leaves wrong in a written deck.
void FinishPackage(const EngineFormat& format, const std::string& path) {
    std::string why;
    if (format.code == kFormatPowerPointShow && !MarkPackageAsShow(path, why))
        throw css::uno::RuntimeException(ToOUString("the show could not be marked as one: " + why));
}

std::string SlideFileName(int32_t number, const char* extension) {
    return "Slide" + std::to_string(number) + "." + extension;
}

// Adds the time of its own life to one phase of ConversionTimings.
class PhaseTimer {
public:
    explicit PhaseTimer(double& phase) : phase_(phase), start_(std::chrono::steady_clock::now()) {}
    ~PhaseTimer() {
        phase_ += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start_).count();
    }
    PhaseTimer(const PhaseTimer&) = delete;
    PhaseTimer& operator=(const PhaseTimer&) = delete;

private:
    double& phase_;
    const std::chrono::steady_clock::time_point start_;
};

} // namespace

struct LibreOfficeComponent::Impl {
    explicit Impl(EngineOptions o) : options(std::move(o)) {}

    EngineOptions options;
    Watchdog watchdog; // declared before the office, which uses it until it is gone
    std::unique_ptr<Office> office;
    std::string version;
    bool officeBroken = false;
    // A start begun ahead of the first conversion runs on its own thread; until it has ended,
    // only that thread touches the office, and every other use waits for it first.
    std::future<bool> starting;
    std::string startError;
    // Whether the office reports its progress to us while it loads and writes: a round trip
    // for every step, worth it only while someone shows the progress.
    bool followProgress = true;
    ConversionTimings timings;

    bool OfficeReady() const { return office && office->Connected() && !officeBroken && !office->ProcessGone(); }

    void StartAhead() {
        if (starting.valid() || OfficeReady())
            return;
        starting = std::async(std::launch::async, [this] { return StartOffice(startError); });
    }

    // Waits for a start begun ahead; nothing when there was none, else whether it worked.
    std::optional<bool> AwaitStartAhead() {
        if (!starting.valid())
            return std::nullopt;
        return starting.get();
    }

    bool EnsureOffice(std::string& error) {
        // A start that was begun ahead and failed gives its reason: trying all over again would
        // only double the wait for the same answer.
        if (const std::optional<bool> started = AwaitStartAhead(); started && !*started) {
            error = startError;
            return false;
        }
        if (OfficeReady())
            return true;
        return StartOffice(error);
    }

    bool StartOffice(std::string& error) {
        office.reset();
        officeBroken = false;
        int interrupted = 0;
        for (int attempt = 0; attempt < std::max(1, options.startAttempts); ++attempt) {
            office = std::make_unique<Office>(options, watchdog);
            if (office->Start(error)) {
                version = office->Version();
                return true;
            }
            // An office killed while starting does not count as one that cannot start, up to a
            // bound: a machine that kills every office must still end in a clear failure.
            if (office->StartInterrupted() && ++interrupted <= kMaxInterruptedStarts)
                --attempt;
            office.reset();
        }
        return false;
    }

    // Runs one office call under the deadline and turns what can go wrong into an outcome.
    Outcome Guarded(int64_t deadlineMs, EngineResult onError, const std::function<void()>& call) {
        Office* running = office.get();
        Outcome outcome;
        watchdog.Arm(deadlineMs, [running] { running->KillFromWatchdog(); });
        try {
            call();
        } catch (...) {
            outcome = CaughtOutcome(running, onError);
        }
        if (watchdog.Disarm()) {
            officeBroken = true;
            return {kEngineTimedOut, "no answer within " + std::to_string(deadlineMs / 1000) + " s"};
        }
        return outcome;
    }

    // What the exception being handled means for the file. A bridge that went away, or an
    // office that is gone, is the office's failure: it is replaced, and the file tried again
    // on a fresh one. Anything else is the call's own failure, onError, with the office's words.
    Outcome CaughtOutcome(Office* running, EngineResult onError) {
        std::string message;
        bool disposed = false;
        try {
            throw;
        } catch (const css::lang::DisposedException& e) {
            disposed = true;
            message = ToUtf8(e.Message);
        } catch (...) {
            message = CurrentUnoExceptionText();
        }
        if (disposed || !running || running->ProcessGone()) {
            officeBroken = true;
            return {kEngineOfficeCrashed, message};
        }
        if (message.empty())
            message = "the office gave no reason";
        return {onError, message};
    }

    using Progress = std::function<void(float)>;

    // What every load asks of the office: read only, no macros, no link updates, our answers to
    // its questions, and its progress while someone follows it.
    NamedValues LoadValues(const rtl::Reference<RefusingInteractionHandler>& handler, const Progress& report) const {
        NamedValues values{
            {"ReadOnly", Any(true)},
            {"MacroExecutionMode", Any(css::document::MacroExecMode::NEVER_EXECUTE)},
            {"UpdateDocMode", Any(css::document::UpdateDocMode::NO_UPDATE)},
            {"InteractionHandler", Any(Reference<css::task::XInteractionHandler>(handler.get()))}};
        if (report && followProgress) {
            const rtl::Reference<ProgressForwarder> indicator(
                new ProgressForwarder(report, 0.0f, kLoadedPercent));
            values.emplace_back("StatusIndicator", Any(Reference<css::task::XStatusIndicator>(indicator.get())));
        }
        return values;
    }

    // The presentation as a bare document, without the frame and view a window of the office
    // would have, which only writing a PDF can do without: about a quarter less time for a
    // small deck. Anything out of the ordinary (a question of the office, another kind of
    // document, a file it cannot read) leaves it for Load, which gives the failure its usual
    // words: nothing then, with nothing loaded. An office that died or stopped answering is
    // the outcome itself.
    std::optional<Outcome> LoadBare(const std::string& source, Document& document, const Progress& report) {
        const auto url = ToFileUrl(source);
        if (url.isEmpty())
            return std::nullopt;
        const rtl::Reference<RefusingInteractionHandler> handler(new RefusingInteractionHandler);
        NamedValues values = LoadValues(handler, report);
        values.emplace_back("URL", Any(url));
        auto descriptor = MakeProperties(values);
        // Every call on the model stays under the guard, asking it for another interface too:
        // an office that dies in between turns any call into an exception.
        Document loaded;
        bool presentation = false;
        const Outcome outcome = Guarded(options.baseDeadlineMs, kEngineCannotLoad, [&] {
            if (office->TypeDetection()->queryTypeByDescriptor(descriptor, true).isEmpty())
                return;
            rtl::OUString filter;
            for (const auto& value : std::as_const(descriptor))
                if (value.Name == "FilterName")
                    value.Value >>= filter;
            const auto& filters = office->Filters();
            if (filter.isEmpty() || !filters->hasByName(filter))
                return;
            css::uno::Sequence<css::beans::PropertyValue> filterProperties;
            filters->getByName(filter) >>= filterProperties;
            rtl::OUString service;
            for (const auto& value : std::as_const(filterProperties))
                if (value.Name == "DocumentService")
                    value.Value >>= service;
            if (service != "com.sun.star.presentation.PresentationDocument")
                return;
            const auto context = office->Context();
            const Reference<css::frame::XLoadable> model(
                context->getServiceManager()->createInstanceWithContext(service, context),
                css::uno::UNO_QUERY_THROW);
            loaded.set(model, css::uno::UNO_QUERY_THROW);
            model->load(descriptor);
            presentation = true;
        });
        if (outcome.result == kEngineTimedOut || outcome.result == kEngineOfficeCrashed)
            return outcome;
        if (outcome.result == kEngineOk && presentation && handler->Asked() == LoadQuestion::None) {
            document = loaded;
            return outcome;
        }
        Close(loaded);
        return std::nullopt;
    }

    Outcome Load(const std::string& source, Document& document, const Progress& report) {
        const auto url = ToFileUrl(source);
        if (url.isEmpty())
            return {kEngineSourceMissing, "the path cannot be expressed as a URL"};
        LoadQuestion asked = LoadQuestion::None;
        Outcome outcome = LoadOnce(url, true, document, report, asked);
        // Given a password, the office does not say that a file needs one: it just fails.
        // Asked again without one, it says so (and the handler refuses).
        if (outcome.result == kEngineCannotLoad && asked == LoadQuestion::None) {
            Outcome probe = LoadOnce(url, false, document, nullptr, asked);
            if (probe.result == kEngineOk || probe.result == kEnginePasswordProtected)
                outcome = probe;
        }
        if (outcome.result == kEngineCannotLoad && asked != LoadQuestion::Repair &&
            LooksPasswordProtected(source))
            return {kEnginePasswordProtected, "encrypted"};
        return outcome;
    }

    Outcome LoadOnce(const rtl::OUString& url, bool withPassword, Document& document, const Progress& report,
                     LoadQuestion& asked) {
        const rtl::Reference<RefusingInteractionHandler> handler(new RefusingInteractionHandler);
        NamedValues values = LoadValues(handler, report);
        values.emplace_back("Hidden", Any(true));
        if (withPassword)
            values.emplace_back("Password", Any(rtl::OUString()));
        const auto args = MakeProperties(values);
        Outcome outcome = Guarded(options.baseDeadlineMs, kEngineCannotLoad, [&] {
            document = office->Loader()->loadComponentFromURL(url, "_blank", 0, args);
        });
        asked = handler->Asked();
        if (outcome.result == kEngineOk && document.is())
            return outcome;
        if (outcome.result == kEngineOk || outcome.result == kEngineCannotLoad) {
            if (asked == LoadQuestion::Password)
                return {kEnginePasswordProtected, {}};
            if (asked == LoadQuestion::Repair)
                return {kEngineCannotLoad, "the file is damaged"};
            if (outcome.result == kEngineOk)
                return {kEngineCannotLoad, "the office could not read it"};
        }
        return outcome;
    }

    void Close(Document& document) {
        const PhaseTimer timer(timings.close);
        if (document.is() && !officeBroken) {
            // The output is complete by now: a document that will not close only costs the
            // office (Guarded marks it for replacement), not this file.
            Guarded(options.baseDeadlineMs, kEngineOk, [&] {
                const Reference<css::util::XCloseable> closeable(document, css::uno::UNO_QUERY);
                if (closeable.is())
                    closeable->close(true);
                else
                    document->dispose();
            });
        }
        document.clear();
    }

    struct ClosingGuard {
        Impl& impl;
        Document& document;
        ~ClosingGuard() { impl.Close(document); }
    };

    // Loads a fresh copy for each slide: once other slides are removed they are gone.
    Outcome EachSlideFromFreshCopy(const std::string& source, Document& document, const SlideRange& range,
                                   int64_t deadline, const Progress& report,
                                   const std::function<void(int32_t)>& writeSlide) {
        for (int32_t number = range.first; number <= range.last; ++number) {
            if (number != range.first) {
                Close(document);
                Outcome reload = Load(source, document, nullptr);
                if (reload.result != kEngineOk)
                    return reload;
            }
            Outcome outcome = Guarded(deadline, kEngineExportFailed, [&] {
                KeepOnlySlides(document, SlideRange{number, number, false});
                writeSlide(number);
            });
            if (outcome.result != kEngineOk)
                return outcome;
            report(SlideShare(range, number));
        }
        return {};
    }

    static float SlideShare(const SlideRange& range, int32_t number) {
        const float total = static_cast<float>(std::max(1, range.last - range.first + 1));
        return kLoadedPercent +
               (100.0f - kLoadedPercent) * static_cast<float>(number - range.first + 1) / total;
    }

    // A call on the office that escaped its guard still ends as this file's outcome: a dead
    // office is then the office's failure, tried again on a fresh one, never a fault of the step.
    Outcome RunCaught(const ConversionProperties& p, const EngineFormat& format, const std::string& out,
                      bool intoFolder, const Progress& report) {
        try {
            return Run(p, format, out, intoFolder, report);
        } catch (...) {
            return CaughtOutcome(office.get(), kEngineExportFailed);
        }
    }

    Outcome Run(const ConversionProperties& p, const EngineFormat& format, const std::string& out,
                bool intoFolder, const Progress& report) {
        Document document;
        Outcome outcome;
        {
            const PhaseTimer timer(timings.load);
            std::optional<Outcome> bare;
            if (format.kind == FormatKind::Pdf)
                bare = LoadBare(p.SourceFile, document, report);
            outcome = bare ? *bare : Load(p.SourceFile, document, report);
        }
        if (outcome.result != kEngineOk)
            return outcome;
        ClosingGuard closing{*this, document};

        bool presentation = false;
        int32_t count = 0;
        {
            const PhaseTimer timer(timings.inspect);
            outcome = Guarded(options.baseDeadlineMs, kEngineCannotLoad, [&] {
                presentation = IsPresentation(document);
                if (presentation)
                    count = SlideCount(document);
            });
        }
        if (outcome.result != kEngineOk)
            return outcome;
        if (!presentation)
            return {kEngineNotAPresentation, "it opens as another kind of document"};

        SlideRange range;
        range.first = p.FromSlide > 0 ? p.FromSlide : 1;
        range.last = p.ToSlide > 0 ? std::min(p.ToSlide, count) : count;
        const bool asked = p.FromSlide > 0 || p.ToSlide > 0;
        if (asked && range.first > count)
            return {kEngineSlideRangeOutside, "slide " + std::to_string(range.first) +
                                                  " asked, the presentation has " + std::to_string(count)};
        range.wholeDeck = range.first == 1 && range.last == count;
        if (intoFolder && count == 0)
            return {kEngineExportFailed, "the presentation has no slides"};
        const int64_t deadline = options.baseDeadlineMs + options.perSlideDeadlineMs * std::max(1, count);
        const int64_t slideDeadline = options.baseDeadlineMs + options.perSlideDeadlineMs;
        report(kLoadedPercent);
        const rtl::Reference<ProgressForwarder> indicator(
            new ProgressForwarder(report, kLoadedPercent, 100.0f));
        const Indicator exportIndicator(followProgress ? indicator.get() : nullptr);
        const auto context = office->Context();
        const std::string fileName = fs::path(p.TargetFile).filename().string();
        // Ends before the document closes (the guard above closes it).
        const PhaseTimer writing(timings.write);

        switch (format.kind) {
        case FormatKind::Pdf:
            if (!p.OneFilePerSlide)
                return Guarded(deadline, kEngineExportFailed, [&] {
                    ExportPdf(document, out, range, p.IncludeNotesPage, p.NotesOnly, format.pdfVersion,
                              exportIndicator);
                });
            for (int32_t n = range.first; n <= range.last; ++n) {
                outcome = Guarded(slideDeadline, kEngineExportFailed, [&] {
                    ExportPdf(document, out + "/" + SlideFileName(n, format.extension),
                              SlideRange{n, n, false}, p.IncludeNotesPage, p.NotesOnly, format.pdfVersion,
                              nullptr);
                });
                if (outcome.result != kEngineOk)
                    return outcome;
                report(SlideShare(range, n));
            }
            return {};
        case FormatKind::Presentation:
            if (!p.OneFilePerSlide)
                return Guarded(deadline, kEngineExportFailed, [&] {
                    KeepOnlySlides(document, range);
                    StoreWithFilter(document, out, format.filter, exportIndicator);
                    FinishPackage(format, out);
                });
            return EachSlideFromFreshCopy(
                p.SourceFile, document, range, slideDeadline, report, [&](int32_t n) {
                    const std::string file = out + "/" + SlideFileName(n, format.extension);
                    StoreWithFilter(document, file, format.filter, nullptr);
                    FinishPackage(format, file);
                });
        case FormatKind::Html:
            if (!p.OneFilePerSlide)
                return Guarded(deadline, kEngineExportFailed, [&] {
                    KeepOnlySlides(document, range);
                    ExportHtml(document, out + "/" + fileName, options.imageWidthPx);
                });
            // Each page brings its own pictures, named by the office: one folder per slide.
            return EachSlideFromFreshCopy(
                p.SourceFile, document, range, slideDeadline, report, [&](int32_t n) {
                    const std::string folder = out + "/Slide" + std::to_string(n);
                    fs::create_directory(folder);
                    ExportHtml(document, folder + "/" + SlideFileName(n, format.extension),
                               options.imageWidthPx);
                });
        case FormatKind::SlideImage:
            for (int32_t n = range.first; n <= range.last; ++n) {
                outcome = Guarded(slideDeadline, kEngineExportFailed, [&] {
                    int32_t width = 0, height = 0;
                    ExportSlidePicture(context, document, n, out + "/" + SlideFileName(n, format.extension),
                                       format.filter, options.imageWidthPx, width, height);
                });
                if (outcome.result != kEngineOk)
                    return outcome;
                report(SlideShare(range, n));
            }
            return {};
        case FormatKind::Outline:
        case FormatKind::OutlineWithPictures:
            return WriteOutline(p, format, document, range, out, deadline, report);
        }
        return {kEngineUnsupportedFormat, {}};
    }

    Outcome WriteOutline(const ConversionProperties& p, const EngineFormat& format, const Document& document,
                         const SlideRange& range, const std::string& out, int64_t deadline,
                         const Progress& report) {
        static std::atomic<unsigned> counter{0};
        std::error_code ec;
        const fs::path scratch =
            fs::temp_directory_path(ec) / ("slidemill-pictures-" + std::to_string(++counter) + "-" +
                                           std::to_string(reinterpret_cast<uintptr_t>(this)));
        fs::create_directories(scratch, ec);
        struct RemoveScratch {
            fs::path path;
            ~RemoveScratch() {
                std::error_code ignored;
                fs::remove_all(path, ignored);
            }
        } removeScratch{scratch};

        OutlineRtfOptions rtfOptions;
        rtfOptions.includeNotes = p.IncludeNotesPage;
        rtfOptions.notesOnly = p.NotesOnly;
        rtfOptions.showSlideAndShape = p.ShowSlideAndShape;
        rtfOptions.pictures = format.kind == FormatKind::OutlineWithPictures;
        const bool notes = p.IncludeNotesPage || p.NotesOnly;
        std::string failure;
        const auto write = [&](const std::string& path, const SlideRange& part) {
            const auto slides =
                ReadOutline(office->Context(), document, part, notes, rtfOptions.pictures,
                            options.imageWidthPx, scratch.string(), [&](float share) {
                                if (!p.OneFilePerSlide)
                                    report(kLoadedPercent + (100.0f - kLoadedPercent) * share);
                            });
            const std::string rtf = BuildOutlineRtf(slides, rtfOptions);
            std::ofstream file(path, std::ios::binary | std::ios::trunc);
            file.write(rtf.data(), static_cast<std::streamsize>(rtf.size()));
            file.close();
            if (!file)
                failure = "cannot write " + path;
        };
        if (!p.OneFilePerSlide) {
            Outcome outcome = Guarded(deadline, kEngineExportFailed, [&] { write(out, range); });
            if (outcome.result == kEngineOk && !failure.empty())
                return {kEngineTargetNotWritable, failure};
            return outcome;
        }
        for (int32_t n = range.first; n <= range.last; ++n) {
            Outcome outcome =
                Guarded(options.baseDeadlineMs + options.perSlideDeadlineMs, kEngineExportFailed, [&] {
                    write(out + "/" + SlideFileName(n, format.extension), {n, n, false});
                });
            if (outcome.result == kEngineOk && !failure.empty())
                return {kEngineTargetNotWritable, failure};
            if (outcome.result != kEngineOk)
                return outcome;
            report(SlideShare(range, n));
        }
        return {};
    }

    void AfterConversion(bool keepWarm) {
        if (!office)
            return;
        ++office->conversions;
        const bool recycle = officeBroken || !keepWarm ||
                             office->conversions >= options.recycleAfterConversions ||
                             office->ResidentBytes() > options.memoryLimitBytes;
        if (recycle) {
            office.reset();
            officeBroken = false;
        }
    }
};

LibreOfficeComponent::LibreOfficeComponent() : LibreOfficeComponent(EngineOptions{}) {}

LibreOfficeComponent::LibreOfficeComponent(EngineOptions options)
    : impl_(std::make_unique<Impl>(std::move(options))) {}

LibreOfficeComponent::~LibreOfficeComponent() {
    ShutDown();
}

const EngineOptions& LibreOfficeComponent::Options() const {
    return impl_->options;
}

const ConversionTimings& LibreOfficeComponent::LastTimings() const {
    return impl_->timings;
}

int32_t LibreOfficeComponent::FormatCount() {
    std::error_code ec;
    if (!fs::exists(impl_->options.officeProgram, ec))
        return 0;
    return static_cast<int32_t>(EngineFormats().size());
}

bool LibreOfficeComponent::GetFormat(int32_t index, int32_t& code, std::string& description) {
    if (index < 1 || index > FormatCount())
        return false;
    const auto& format = EngineFormats()[static_cast<size_t>(index - 1)];
    code = format.code;
    description = format.description;
    return true;
}

std::string LibreOfficeComponent::GetExtension(int32_t code, bool withWildcard) {
    const auto* format = FindEngineFormat(code);
    if (!format)
        return {};
    return withWildcard ? std::string("*.") + format->extension : std::string(format->extension);
}

bool LibreOfficeComponent::SupportsSingleFileOutput(int32_t code) {
    const auto* format = FindEngineFormat(code);
    return format && format->kind != FormatKind::SlideImage && format->kind != FormatKind::Html;
}

void LibreOfficeComponent::BeginStartUp(int32_t conversions) {
    const int32_t offices = std::min(std::max(conversions, 1), ConcurrentConversions());
    impl_->StartAhead();
    for (int32_t i = 1; i < offices; ++i)
        static_cast<LibreOfficeComponent&>(ConcurrentComponent(i)).impl_->StartAhead();
}

void LibreOfficeComponent::GetPowerPointVersion(std::string& version) {
    impl_->AwaitStartAhead();
    if (impl_->version.empty()) {
        std::string error;
        impl_->EnsureOffice(error);
    }
    version = impl_->version.empty() ? std::string("LibreOffice") : impl_->version;
}

int32_t LibreOfficeComponent::TextCount() {
    return EngineTextCount();
}

std::string LibreOfficeComponent::GetText(int32_t index) {
    return EngineText(index);
}

int LibreOfficeComponent::OfficeProcessId() const {
    impl_->AwaitStartAhead();
    return impl_->office && !impl_->office->ProcessGone() ? static_cast<int>(impl_->office->Pid()) : 0;
}

int32_t LibreOfficeComponent::WithOffice(int64_t deadlineMs, const std::function<void(Office&)>& call,
                                         std::string& detail) {
    detail.clear();
    if (!impl_->EnsureOffice(detail))
        return kEngineUnavailable;
    Office& office = *impl_->office;
    const Outcome outcome = impl_->Guarded(deadlineMs, kEngineExportFailed, [&] { call(office); });
    detail = outcome.detail;
    return outcome.result;
}

int32_t LibreOfficeComponent::ConcurrentConversions() {
    if (!OptimizeForSpeed())
        return 1;
    int offices = impl_->options.offices;
    if (offices <= 0)
        offices = std::clamp(static_cast<int>(std::thread::hardware_concurrency()), 1, 4);
    return offices;
}

ConversionComponent& LibreOfficeComponent::ConcurrentComponent(int32_t index) {
    if (index <= 0)
        return *this;
    while (helpers_.size() < static_cast<size_t>(index)) {
        EngineOptions options = impl_->options;
        options.offices = 1;
        helpers_.push_back(std::make_unique<LibreOfficeComponent>(options));
    }
    LibreOfficeComponent& helper = *helpers_[static_cast<size_t>(index - 1)];
    helper.SetOptimizeForSpeed(OptimizeForSpeed());
    return helper;
}

void LibreOfficeComponent::ShutDown() {
    for (auto& helper : helpers_)
        helper->ShutDown();
    impl_->AwaitStartAhead();
    impl_->office.reset();
    impl_->officeBroken = false;
}

void LibreOfficeComponent::Report(float percent) {
    percent_ = percent;
    RaiseProgress();
}

int32_t LibreOfficeComponent::Convert() {
    impl_->timings = {};
    const PhaseTimer whole(impl_->timings.total);
    impl_->followProgress = HasProgressHandler();
    percent_ = 0;
    lastError_.clear();
    const ConversionProperties p = properties_;
    const auto fail = [&](EngineResult result, const std::string& detail) {
        lastError_ = EngineMessage(result, p.SourceFile, detail);
        return static_cast<int32_t>(result);
    };

    const EngineFormat* format = FindEngineFormat(p.TargetFormat);
    if (!format)
        return fail(kEngineUnsupportedFormat, "format code " + std::to_string(p.TargetFormat));
    std::error_code ec;
    if (p.SourceFile.empty() || !fs::is_regular_file(p.SourceFile, ec))
        return fail(kEngineSourceMissing, {});
    if (p.FromSlide < 0 || p.ToSlide < 0 || (p.ToSlide > 0 && p.FromSlide > p.ToSlide))
        return fail(kEngineSlideRangeOutside,
                    "slides " + std::to_string(p.FromSlide) + " to " + std::to_string(p.ToSlide));
    if (p.TargetFile.empty())
        return fail(kEngineTargetNotWritable, "no target file given");
    if (fs::exists(p.TargetFile, ec) && fs::equivalent(p.SourceFile, p.TargetFile, ec))
        return fail(kEngineTargetNotWritable, "the target is the source file itself");

    const bool intoFolder =
        p.OneFilePerSlide || format->kind == FormatKind::SlideImage || format->kind == FormatKind::Html;
    // Each attempt stages its own output, so what a dead office half wrote goes with it.
    const auto attempt = [&]() -> Outcome {
        StagedFile stagedFile;
        StagedFolder stagedFolder;
        std::string why;
        if (intoFolder ? !stagedFolder.Prepare(PerSlideFolderOf(p.TargetFile), why)
                       : !stagedFile.Prepare(p.TargetFile, why))
            return {kEngineTargetNotWritable, p.TargetFile + ": " + why};
        bool ready = false;
        {
            const PhaseTimer timer(impl_->timings.waitForOffice);
            ready = impl_->EnsureOffice(why);
        }
        if (!ready)
            return {kEngineUnavailable, why};
        Outcome outcome = impl_->RunCaught(p, *format,
                                           intoFolder ? stagedFolder.TempPath() : stagedFile.TempPath(),
                                           intoFolder, [this](float percent) { Report(percent); });
        if (outcome.result == kEngineOk) {
            const bool committed = intoFolder ? stagedFolder.Commit(why) : stagedFile.Commit(why);
            if (!committed)
                outcome = {kEngineExportFailed, why};
        }
        impl_->AfterConversion(OptimizeForSpeed());
        return outcome;
    };

    Outcome outcome = attempt();
    // An office rarely dies because of the file it was given: it is killed, or runs out of
    // memory. One more try on a fresh office tells the two apart; a file that takes a second
    // office down with it fails as before.
    if (outcome.result == kEngineOfficeCrashed) {
        percent_ = 0;
        outcome = attempt();
    }
    if (outcome.result == kEngineUnavailable) {
        lastError_ = EngineMessage(kEngineUnavailable, {}, outcome.detail);
        return kEngineUnavailable;
    }
    if (outcome.result != kEngineOk)
        return fail(outcome.result, outcome.detail);
    Report(100.0f);
    return kEngineOk;
}

} // namespace slidemill
