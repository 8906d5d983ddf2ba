#pragma once

#include "run/PdfStage.h"
#include "run/RichText.h"
#include "run/RunParts.h"
#include "support/FakeComponent.h"

#include <functional>

namespace slidemill::test {

// Run parts made of doubles: the deterministic component, no rich-text engine and the
// unavailable PDF stage unless a test sets its own, and settings the test sets (what the
// "stored" settings are at each read).
class FakeRunParts final : public RunParts {
public:
    FakeComponent component;
    RichTextEngine* richText = nullptr;
    PdfStage* pdf = nullptr;
    ConversionSettings settings;
    int settingsReads = 0;
    int shutDowns = 0;

    ConversionComponent& Component() override { return component; }
    RichTextEngine* RichText() override { return richText; }
    PdfStage& Pdf() override { return pdf ? *pdf : unavailable_; }
    ConversionSettings ReadSettings() override {
        ++settingsReads;
        return settings;
    }
    void ShutDown() override {
        ++shutDowns;
        component.ShutDown();
    }

private:
    UnavailablePdfStage unavailable_;
};

} // namespace slidemill::test
