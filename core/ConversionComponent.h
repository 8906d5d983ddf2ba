#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace slidemill {

// What the conversion step writes into the component before each Convert call.
struct ConversionProperties {
    int32_t FromSlide = 0; // 0 and 0: all slides
    int32_t ToSlide = 0;
    bool OneFilePerSlide = false;
    std::string SourceFile;
    std::string TargetFile;
    int32_t TargetFormat = 0;
    bool IncludeNotesPage = false;
    bool NotesOnly = false;
    bool ShowSlideAndShape = false;
};

// The renderer of presentations. The program only sets properties, calls Convert and
// listens to Progress; how the work is done (and which formats exist) is the component's.
//
// Convert returns 0 on success, -1 when the component cannot work at all (every further
// file would fail too, so the whole run stops), any other value when this file failed.
class ConversionComponent {
public:
    using ProgressHandler = std::function<void()>;

    virtual ~ConversionComponent() = default;

    // Number of target formats; 0 means no renderer is installed.
    virtual int32_t FormatCount() = 0;
    // index is 1..FormatCount(); false when the entry is not valid.
    virtual bool GetFormat(int32_t index, int32_t& code, std::string& description) = 0;
    // The extension of a target code ("pdf"), or its pattern ("*.pdf") with the wildcard flag.
    virtual std::string GetExtension(int32_t code, bool withWildcard) = 0;
    virtual bool SupportsSingleFileOutput(int32_t code) = 0;
    virtual bool PowerPointVersionAtLeast2010() = 0;
    virtual void GetPowerPointVersion(std::string& version) = 0;
    // The component's own message texts, offered to the translator: GetText(-i), i = 1..TextCount().
    virtual int32_t TextCount() = 0;
    virtual std::string GetText(int32_t index) = 0;

    virtual bool OptimizeForSpeed() const { return optimizeForSpeed_; }
    virtual void SetOptimizeForSpeed(bool value) { optimizeForSpeed_ = value; }

    // How many files may convert at the same time, each on a component of its own (for the
    // office engine: another office process). 1: one file at a time.
    virtual int32_t ConcurrentConversions() { return 1; }
    // The component for concurrent conversion number index (0 .. ConcurrentConversions() - 1);
    // 0 is this one. Each serves one thread at a time; while a file list keeps them busy,
    // nothing else calls them, and Progress is not raised on the caller's thread.
    virtual ConversionComponent& ConcurrentComponent(int32_t index) {
        (void)index;
        return *this;
    }

    // A run is about to convert, up to conversions files at the same time: a component whose
    // start is slow may begin it now, in the background, while the run lists its files.
    // Convert works the same without it.
    virtual void BeginStartUp(int32_t conversions) { (void)conversions; }

    void SetFromSlide(int32_t v) { properties_.FromSlide = v; }
    void SetToSlide(int32_t v) { properties_.ToSlide = v; }
    void SetOneFilePerSlide(bool v) { properties_.OneFilePerSlide = v; }
    void SetSourceFile(const std::string& v) { properties_.SourceFile = v; }
    void SetTargetFile(const std::string& v) { properties_.TargetFile = v; }
    void SetTargetFormat(int32_t v) { properties_.TargetFormat = v; }
    void SetIncludeNotesPage(bool v) { properties_.IncludeNotesPage = v; }
    void SetNotesOnly(bool v) { properties_.NotesOnly = v; }
    void SetShowSlideAndShape(bool v) { properties_.ShowSlideAndShape = v; }
    void SetProperties(const ConversionProperties& v) { properties_ = v; }
    const ConversionProperties& Properties() const { return properties_; }

    virtual int32_t Convert() = 0;
    // Why the last conversion failed, in the user's language: its fixed texts translated, the
    // file and the office's own detail as they are.
    virtual std::string LastErrorText() const = 0;
    virtual float PercentComplete() const = 0;
    // Releases every resource (office processes); the component may be used again afterwards.
    virtual void ShutDown() = 0;

    // Called during Convert, on the caller's thread, whenever PercentComplete changes.
    void SetProgressHandler(ProgressHandler handler) { progress_ = std::move(handler); }

protected:
    // Whether anyone listens: a component may spare the work of following its renderer's
    // progress when nobody does (the concurrent conversions of a list).
    bool HasProgressHandler() const { return static_cast<bool>(progress_); }
    void RaiseProgress() {
        if (progress_)
            progress_();
    }

    ConversionProperties properties_;

private:
    ProgressHandler progress_;
    bool optimizeForSpeed_ = true;
};

} // namespace slidemill
