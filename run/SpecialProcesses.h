#pragma once

#include "core/ConversionOptions.h"
#include "core/RunControl.h"
#include "run/ConversionContext.h"
#include "run/RichText.h"
#include "run/RunLog.h"
#include "run/SpecialProcessor.h"

#include <cstdint>

namespace slidemill {

// Results of a special process besides those of the processes themselves.
inline constexpr int32_t kErrUnknownSpecialProcess = -33; // no process has this code
inline constexpr int32_t kErrSpecialProcessFault = -34;   // the process ended with an unexpected error

// The special processes of a run: append, remove empty lines, search and replace (each once per
// listed file) and the launch of a program. RTF, HTML and DOC files need the rich-text engine;
// without one (richText null) they fail file by file and the rest of the run goes on.
class SpecialProcesses final : public SpecialProcessor {
public:
    explicit SpecialProcesses(RichTextEngine* richText = nullptr) : richText_(richText) {}

    // Lists the task's files (launch tasks have none), runs the process on each and logs every
    // failed file. Returns 0, the last failing file's code, -1 (stop the whole run) or
    // kErrFileList when the source file or folder is missing. Outside an append, a file whose
    // target an earlier listed file claims, or is another listed file, fails on its own; a file
    // may still be processed in place.
    int32_t PerformBlockSpecialized(ConversionContext& context, RunLog& log, int32_t lJobNumber,
                                    clsConversionOptions& coBlock) override;

    // Runs the task's process once on its sOriginalFile and sTargetFile. An append or a removal
    // of empty lines that reports success without leaving a target gives -7. Sets lErr and sErr
    // (the message of the code, with any detail the process gave) and returns lErr.
    int32_t RunSpecialProcess(clsConversionOptions& task, RunControl& control = NullRunControl());

private:
    RichTextEngine* richText_ = nullptr;
};

} // namespace slidemill
