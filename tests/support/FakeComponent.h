#pragma once

#include "core/ConversionComponent.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace slidemill::test {

// A deterministic conversion component: it offers the formats it is given, writes a small
// target file for every Convert call and records each call's properties. A test can make a
// source fail with a chosen code, change the version answer, or run code during Convert.
class FakeComponent : public ConversionComponent {
public:
    struct Format {
        int32_t code;
        std::string description;
        std::string extension;
    };

    FakeComponent();

    std::vector<Format> formats;
    std::string version = "16.0";
    std::map<std::string, std::pair<int32_t, std::string>> failures; // source → code, message
    std::function<void(const ConversionProperties&)> onConvert;
    std::vector<ConversionProperties> calls;
    int shutDownCount = 0;
    // Conversions offered at the same time. The helpers are made on first use as copies of this
    // component's formats, version, failures and onConvert (which must then be thread-safe).
    int32_t concurrency = 1;
    std::vector<std::unique_ptr<FakeComponent>> helpers;
    // The calls of this component and of its helpers.
    std::vector<ConversionProperties> AllCalls() const;

    // Each BeginStartUp: how many conversions were announced, and how many files this component
    // and its helpers had converted by then.
    struct StartUp {
        int32_t conversions;
        size_t convertedBefore;
    };
    std::vector<StartUp> startUps;
    void BeginStartUp(int32_t conversions) override { startUps.push_back({conversions, AllCalls().size()}); }

    int32_t ConcurrentConversions() override { return concurrency; }
    ConversionComponent& ConcurrentComponent(int32_t index) override;

    int32_t FormatCount() override { return static_cast<int32_t>(formats.size()); }
    bool GetFormat(int32_t index, int32_t& code, std::string& description) override;
    std::string GetExtension(int32_t code, bool withWildcard) override;
    bool SupportsSingleFileOutput(int32_t code) override;
    bool PowerPointVersionAtLeast2010() override { return true; }
    void GetPowerPointVersion(std::string& out) override { out = version; }
    int32_t TextCount() override { return 1; }
    std::string GetText(int32_t index) override { return index == -1 ? "Converting" : ""; }
    int32_t Convert() override;
    std::string LastErrorText() const override { return lastError_; }
    float PercentComplete() const override { return percent_; }
    void ShutDown() override { ++shutDownCount; }

private:
    std::string lastError_;
    float percent_ = 0;
};

} // namespace slidemill::test
