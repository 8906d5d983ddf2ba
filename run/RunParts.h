#pragma once

#include "settings/ConversionSettings.h"
#include "settings/PdfOptions.h"

namespace slidemill {

class ConversionComponent;
class PdfStage;
class RichTextEngine;

// What every run is made of: the conversion component, the rich-text engine of the special
// processes and of "PDF - with options", that PDF stage, and the stored settings. The program
// supplies the office-backed parts; tests supply doubles through the same interface, so that
// every front end assembles its runs the same way.
class RunParts {
public:
    virtual ~RunParts() = default;

    virtual ConversionComponent& Component() = 0;
    // Null when the build or the start-up has none: RTF, DOC and HTML processes then fail file
    // by file.
    virtual RichTextEngine* RichText() = 0;
    virtual PdfStage& Pdf() = 0;
    // Reads the stored settings again and returns the conversion's view of them; parts that
    // read settings of their own (the PDF stage's page and font values) take them up here too.
    // Called before every run, so a service that stays up follows the user's changes.
    virtual ConversionSettings ReadSettings() = 0;
    // The "PDF - with options" values of an open window, after ReadSettings: the window owns
    // them while it is open, so a run takes what its dialogs set, saved or not. They count as
    // read, whatever the settings file said.
    virtual void UsePdfOptions(const PdfOptions& options) = 0;
    // Ends whatever the parts keep running (the offices).
    virtual void ShutDown() = 0;
};

} // namespace slidemill
