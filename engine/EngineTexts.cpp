#include "engine/EngineTexts.h"

#include "core/Translate.h"

#include <array>
#include <utility>

namespace slidemill {
namespace {

constexpr std::array<std::pair<EngineResult, const char*>, 11> kResultTexts{{
    {kEngineUnavailable, N_("LibreOffice could not be started")},
    {kEngineSourceMissing, N_("Source file not found")},
    {kEngineCannotLoad, N_("The file could not be loaded (damaged or not a known format)")},
    {kEnginePasswordProtected, N_("The file is password-protected")},
    {kEngineNotAPresentation, N_("The file is not a presentation")},
    {kEngineSlideRangeOutside, N_("The slide range lies outside the presentation")},
    {kEngineTargetNotWritable, N_("The target file cannot be written")},
    {kEngineTimedOut, N_("The conversion took too long and was stopped")},
    {kEngineOfficeCrashed, N_("LibreOffice stopped working while converting")},
    {kEngineUnsupportedFormat, N_("Unsupported target format")},
    {kEngineExportFailed, N_("The conversion produced no output")},
}};

} // namespace

int32_t EngineTextCount() {
    return static_cast<int32_t>(kResultTexts.size());
}

std::string EngineText(int32_t index) {
    if (index >= 0 || -index > EngineTextCount())
        return {};
    return kResultTexts[static_cast<size_t>(-index - 1)].second;
}

std::string EngineMessage(EngineResult result, const std::string& file, const std::string& detail) {
    // Only the fixed part is translated: a language file must collect the program's texts,
    // not one line for every file that failed.
    std::string text = N_("Conversion failed");
    for (const auto& [code, fixed] : kResultTexts) {
        if (code == result)
            text = fixed;
    }
    text = Translate(text);
    if (!file.empty())
        text += ": " + file;
    if (!detail.empty())
        text += " (" + detail + ")";
    return text;
}

} // namespace slidemill
