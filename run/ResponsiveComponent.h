#pragma once

#include "core/ConversionComponent.h"
#include "core/RunControl.h"
#include "run/RunParts.h"

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

namespace slidemill {

// A conversion component that keeps its caller's thread responsive while one file converts:
// the wrapped component converts on a worker thread while the calling thread runs the run
// control's checkpoint every interval, so a window repaints and a Pause is taken at once even
// when one presentation takes minutes. Progress is raised on the calling thread, as callers
// expect. The run itself still stops only between files: a conversion cannot be cut short.
//
// Convert called from another thread than the one that made the wrapper (a concurrent
// conversion of a file list) goes straight to the wrapped component, as checkpoints belong to
// the window's thread.
class ResponsiveComponent final : public ConversionComponent {
public:
    ResponsiveComponent(ConversionComponent& inner, RunControl& control,
                        std::chrono::milliseconds interval = std::chrono::milliseconds(20));
    ResponsiveComponent(const ResponsiveComponent&) = delete;
    ResponsiveComponent& operator=(const ResponsiveComponent&) = delete;

    int32_t FormatCount() override { return inner_.FormatCount(); }
    bool GetFormat(int32_t index, int32_t& code, std::string& description) override {
        return inner_.GetFormat(index, code, description);
    }
    std::string GetExtension(int32_t code, bool withWildcard) override {
        return inner_.GetExtension(code, withWildcard);
    }
    bool SupportsSingleFileOutput(int32_t code) override { return inner_.SupportsSingleFileOutput(code); }
    bool PowerPointVersionAtLeast2010() override { return inner_.PowerPointVersionAtLeast2010(); }
    void GetPowerPointVersion(std::string& version) override { inner_.GetPowerPointVersion(version); }
    int32_t TextCount() override { return inner_.TextCount(); }
    std::string GetText(int32_t index) override { return inner_.GetText(index); }
    bool OptimizeForSpeed() const override { return inner_.OptimizeForSpeed(); }
    void SetOptimizeForSpeed(bool value) override { inner_.SetOptimizeForSpeed(value); }
    int32_t ConcurrentConversions() override { return inner_.ConcurrentConversions(); }
    ConversionComponent& ConcurrentComponent(int32_t index) override;

    int32_t Convert() override;
    std::string LastErrorText() const override { return inner_.LastErrorText(); }
    float PercentComplete() const override;
    void ShutDown() override { inner_.ShutDown(); }

private:
    ConversionComponent& inner_;
    RunControl& control_;
    std::chrono::milliseconds interval_;
    std::thread::id owner_;
    // Written by the worker when the wrapped component reports progress, taken on the caller's
    // thread between checkpoints.
    std::atomic<bool> progressPending_{false};
    std::atomic<float> percent_{0};
    std::atomic<bool> converting_{false};
};

// Run parts whose component converts through a ResponsiveComponent; everything else is the
// wrapped parts'.
class ResponsiveRunParts final : public RunParts {
public:
    ResponsiveRunParts(RunParts& inner, RunControl& control);

    ConversionComponent& Component() override;
    RichTextEngine* RichText() override { return inner_.RichText(); }
    PdfStage& Pdf() override { return inner_.Pdf(); }
    ConversionSettings ReadSettings() override { return inner_.ReadSettings(); }
    void UsePdfOptions(const PdfOptions& options) override { inner_.UsePdfOptions(options); }
    void ShutDown() override { inner_.ShutDown(); }

    RunParts& Inner() { return inner_; }

private:
    RunParts& inner_;
    RunControl& control_;
    // Made on first use: the wrapped parts may start their component lazily.
    std::unique_ptr<ResponsiveComponent> component_;
};

} // namespace slidemill
