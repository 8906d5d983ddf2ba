#pragma once

#include "core/ConversionOptions.h"

#include <string>

namespace slidemill {

class ConversionComponent;

// Names the target of each file listed for a wildcard task: the file's folder relative to the
// source folder is mirrored under the target root (the folder part of the target pattern), or,
// with bSaveInOriginalFolder, the target goes beside the source. The extension is that of the
// task's target type. Conversions and text special processes share this naming.
class ListTargetNamer {
public:
    // component may be null for special processes, whose extensions need none. A special
    // process names its targets by its own types whatever conversion method the record holds.
    ListTargetNamer(const clsConversionOptions& task, ConversionComponent* component);

    // Sets sOriginalFile, sSubFolder and sTargetFile of perFile for the listed file, and (with
    // createFolder) creates the mirrored target folder when it is missing.
    void Apply(const std::string& file, clsConversionOptions& perFile, bool createFolder = true) const;

    // The target of the listed file; touches nothing.
    std::string TargetOf(const std::string& file) const;

    const std::string& TargetRoot() const { return targetRoot_; }
    const std::string& SourceBase() const { return sourceBase_; }
    const std::string& Extension() const { return extension_; }

private:
    std::string SubFolderOf(const std::string& folder) const;

    std::string targetRoot_;
    std::string sourceBase_;
    std::string extension_;
    bool besideSource_ = false;
};

} // namespace slidemill
