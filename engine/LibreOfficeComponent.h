#pragma once

#include "core/ConversionComponent.h"
#include "engine/EngineOptions.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace slidemill {

class Office;

// Where the time of the last Convert went, in milliseconds (for the benchmarks). What total
// holds beyond the phases is our own work: the checks, staging the output and renaming it.
struct ConversionTimings {
    double waitForOffice = 0; // starting an office, or waiting for the one started ahead
    double load = 0;
    double inspect = 0; // is it a presentation, how many slides
    double write = 0;   // export or store, with our fixes to what the office wrote
    double close = 0;
    double total = 0;
};

// The conversion component backed by LibreOffice Impress: a headless office process, started
// on first use and kept warm, driven over UNO. Convert runs on the caller's thread; one call
// at a time per component.
class LibreOfficeComponent : public ConversionComponent {
public:
    LibreOfficeComponent();
    explicit LibreOfficeComponent(EngineOptions options);
    ~LibreOfficeComponent() override;
    LibreOfficeComponent(const LibreOfficeComponent&) = delete;
    LibreOfficeComponent& operator=(const LibreOfficeComponent&) = delete;

    int32_t FormatCount() override;
    bool GetFormat(int32_t index, int32_t& code, std::string& description) override;
    std::string GetExtension(int32_t code, bool withWildcard) override;
    bool SupportsSingleFileOutput(int32_t code) override;
    bool PowerPointVersionAtLeast2010() override { return true; }
    void GetPowerPointVersion(std::string& version) override;
    int32_t TextCount() override;
    std::string GetText(int32_t index) override;

    // With OptimizeForSpeed, a file list converts on several offices at once: this component
    // and helpers of its own, made with the same options and kept warm until ShutDown.
    int32_t ConcurrentConversions() override;
    ConversionComponent& ConcurrentComponent(int32_t index) override;
    // Starts the offices of that many concurrent conversions (at most ConcurrentConversions())
    // at once, each on a thread of its own; a conversion then waits only for its own office.
    void BeginStartUp(int32_t conversions) override;

    int32_t Convert() override;
    std::string LastErrorText() const override { return lastError_; }
    float PercentComplete() const override { return percent_; }
    void ShutDown() override;

    // The process id of the running office, 0 when none runs (for monitoring).
    int OfficeProcessId() const;
    const EngineOptions& Options() const;
    const ConversionTimings& LastTimings() const;
    // Lends this component's office (started when none runs) to another part of the engine that
    // must use the same process and watchdog, such as the rich-text engine. call runs under a
    // deadline of deadlineMs; returns kEngineOk, or why the office could not be had or the call
    // failed, with the office's words in detail.
    int32_t WithOffice(int64_t deadlineMs, const std::function<void(Office&)>& call, std::string& detail);

private:
    struct Impl;
    void Report(float percent);

    std::unique_ptr<Impl> impl_;
    std::vector<std::unique_ptr<LibreOfficeComponent>> helpers_;
    std::string lastError_;
    float percent_ = 0;
};

} // namespace slidemill
