#include "engine/PackageContentType.h"

#include <zip.h>

#include <memory>
#include <string_view>
#include <vector>

namespace slidemill {
namespace {

constexpr std::string_view kTypesPart = "[Content_Types].xml";
constexpr std::string_view kPresentationType =
    "application/vnd.openxmlformats-officedocument.presentationml.presentation.main+xml";
constexpr std::string_view kShowType =
    "application/vnd.openxmlformats-officedocument.presentationml.slideshow.main+xml";

struct ArchiveCloser {
    void operator()(zip_t* archive) const { zip_discard(archive); }
};
struct EntryCloser {
    void operator()(zip_file_t* entry) const { zip_fclose(entry); }
};

std::string ArchiveError(zip_t* archive) {
    return zip_strerror(archive);
}

} // namespace

bool MarkPackageAsShow(const std::string& path, std::string& error) {
    int code = 0;
    std::unique_ptr<zip_t, ArchiveCloser> archive(zip_open(path.c_str(), 0, &code));
    if (!archive) {
        zip_error_t why;
        zip_error_init_with_code(&why, code);
        error = std::string("not a readable package: ") + zip_error_strerror(&why);
        zip_error_fini(&why);
        return false;
    }
    const zip_int64_t index = zip_name_locate(archive.get(), std::string(kTypesPart).c_str(), 0);
    zip_stat_t stat;
    if (index < 0 || zip_stat_index(archive.get(), static_cast<zip_uint64_t>(index), 0, &stat) != 0 ||
        !(stat.valid & ZIP_STAT_SIZE)) {
        error = "the package has no content types";
        return false;
    }
    // The part lists a handful of types; anything huge is not what the office wrote.
    if (stat.size > (1u << 20)) {
        error = "the package's content types are too large";
        return false;
    }
    std::string types(static_cast<std::size_t>(stat.size), '\0');
    {
        std::unique_ptr<zip_file_t, EntryCloser> entry(
            zip_fopen_index(archive.get(), static_cast<zip_uint64_t>(index), 0));
        if (!entry ||
            zip_fread(entry.get(), types.data(), stat.size) != static_cast<zip_int64_t>(stat.size)) {
            error = "cannot read the package's content types: " + ArchiveError(archive.get());
            return false;
        }
    }
    const auto at = types.find(kPresentationType);
    if (at == std::string::npos) {
        if (types.find(kShowType) != std::string::npos)
            return true;
        error = "the package is not a presentation";
        return false;
    }
    types.replace(at, kPresentationType.size(), kShowType);

    // libzip keeps the buffer until the archive is written; it must not free it.
    zip_source_t* source = zip_source_buffer(archive.get(), types.data(), types.size(), 0);
    if (!source || zip_file_replace(archive.get(), static_cast<zip_uint64_t>(index), source, 0) != 0) {
        if (source)
            zip_source_free(source);
        error = "cannot replace the package's content types: " + ArchiveError(archive.get());
        return false;
    }
    // Written to a temporary file beside it and renamed over it: never half a package.
    zip_t* writing = archive.release();
    if (zip_close(writing) != 0) {
        error = "cannot write the package: " + ArchiveError(writing);
        zip_discard(writing);
        return false;
    }
    return true;
}

} // namespace slidemill
