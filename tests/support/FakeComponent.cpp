#include "support/FakeComponent.h"

#include <filesystem>
#include <fstream>

namespace slidemill::test {

FakeComponent::FakeComponent()
    : formats{{32, "PDF", "pdf"},
              {18, "PNG per slide", "png"},
              {24, "PowerPoint (PPTX)", "pptx"},
              {6, "Rich Text (outline)", "rtf"},
              {106, "Rich Text with pictures", "rtf"}} {}

bool FakeComponent::GetFormat(int32_t index, int32_t& code, std::string& description) {
    if (index < 1 || index > FormatCount())
        return false;
    code = formats[index - 1].code;
    description = formats[index - 1].description;
    return true;
}

std::string FakeComponent::GetExtension(int32_t code, bool withWildcard) {
    for (const auto& f : formats)
        if (f.code == code)
            return withWildcard ? "*." + f.extension : f.extension;
    return "";
}

bool FakeComponent::SupportsSingleFileOutput(int32_t code) {
    return code != 18;
}

ConversionComponent& FakeComponent::ConcurrentComponent(int32_t index) {
    if (index <= 0)
        return *this;
    while (helpers.size() < static_cast<size_t>(index)) {
        auto helper = std::make_unique<FakeComponent>();
        helper->formats = formats;
        helper->version = version;
        helper->failures = failures;
        helper->onConvert = onConvert;
        helpers.push_back(std::move(helper));
    }
    return *helpers[static_cast<size_t>(index - 1)];
}

std::vector<ConversionProperties> FakeComponent::AllCalls() const {
    std::vector<ConversionProperties> all = calls;
    for (const auto& helper : helpers)
        all.insert(all.end(), helper->calls.begin(), helper->calls.end());
    return all;
}

int32_t FakeComponent::Convert() {
    calls.push_back(properties_);
    percent_ = 50;
    RaiseProgress();
    if (onConvert)
        onConvert(properties_);
    if (auto it = failures.find(properties_.SourceFile); it != failures.end()) {
        lastError_ = it->second.second;
        return it->second.first;
    }
    if (!std::filesystem::exists(properties_.SourceFile)) {
        lastError_ = "Source file not found: " + properties_.SourceFile;
        return 2;
    }
    std::ofstream out(properties_.TargetFile, std::ios::binary);
    if (!out) {
        lastError_ = "Cannot write " + properties_.TargetFile;
        return 3;
    }
    out << "converted " << properties_.SourceFile << " as " << properties_.TargetFormat << "\n";
    percent_ = 100;
    RaiseProgress();
    lastError_.clear();
    return 0;
}

} // namespace slidemill::test
