#include "engine/WriterRichText.h"

#include "core/Translate.h"
#include "engine/EngineResult.h"
#include "engine/LibreOfficeComponent.h"
#include "engine/Office.h"
#include "engine/OutputStaging.h"
#include "engine/UnoCallbacks.h"
#include "engine/WriterDocument.h"
#include "platform/ReadBusy.h"

#include <com/sun/star/document/MacroExecMode.hpp>
#include <com/sun/star/document/UpdateDocMode.hpp>
#include <com/sun/star/frame/XStorable.hpp>
#include <com/sun/star/lang/XServiceInfo.hpp>
#include <com/sun/star/task/XInteractionHandler.hpp>

#include <rtl/ref.hxx>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

namespace fs = std::filesystem;

namespace slidemill {
namespace {

using css::uno::Any;
using css::uno::Reference;

struct Filter {
    const char* name = nullptr;
    const char* options = nullptr;
};

Filter LoadFilter(int32_t code) {
    switch (code) {
    case 1:
    case 2:
    case 3:
        return {"Text (encoded)", "UTF8"};
    case 4:
        return {"HTML (StarWriter)", nullptr};
    case 5:
        return {"Rich Text Format", nullptr};
    case 6:
        return {"Text (encoded)", "UNICODE"};
    case 9:
        return {"MS Word 97", nullptr};
    case 10:
        return {"OpenDocument Text Flat XML", nullptr};
    case 13:
        return {"MS Word 2007 XML", nullptr};
    default:
        return {};
    }
}

Filter SaveFilter(int32_t code) {
    switch (code) {
    case 1:
        return {"Text (encoded)", "UTF8,LF"};
    case 4:
        return {"HTML (StarWriter)", nullptr};
    case 5:
        return {"Rich Text Format", nullptr};
    case 6:
        return {"Text (encoded)", "UNICODE,LF"};
    case 9:
        return {"MS Word 97", nullptr};
    case 10:
        return {"OpenDocument Text Flat XML", nullptr};
    case 12:
    case 14:
        return {"writer_pdf_Export", nullptr};
    case 13:
        return {"MS Word 2007 XML", nullptr};
    default:
        return {};
    }
}

// Whether the first bytes contradict the format code. Only formats with a certain signature
// are checked: the office would otherwise read a Word file as RTF text, or the reverse, and
// produce garbage rather than fail.
enum class Sniff { Fits, Contradicts, Unreadable };
Sniff SniffFormat(const std::string& path, int32_t code) {
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return Sniff::Unreadable;
    char head[16] = {};
    file.read(head, sizeof head);
    const std::string bytes(head, static_cast<std::size_t>(file.gcount()));
    switch (code) {
    case 5: {
        std::size_t at = bytes.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
        while (at < bytes.size() &&
               (bytes[at] == ' ' || bytes[at] == '\r' || bytes[at] == '\n' || bytes[at] == '\t'))
            ++at;
        return bytes.compare(at, 5, "{\\rtf") == 0 ? Sniff::Fits : Sniff::Contradicts;
    }
    case 9:
        return bytes.compare(0, 8, "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1") == 0 ? Sniff::Fits
                                                                            : Sniff::Contradicts;
    case 13:
        return bytes.compare(0, 4, "PK\x03\x04") == 0 ? Sniff::Fits : Sniff::Contradicts;
    default:
        return Sniff::Fits;
    }
}

// The text after the 30-byte header, as a file of its own in the temporary folder.
class HeaderlessCopy {
public:
    bool Make(const std::string& source) {
        static std::atomic<unsigned> counter{0};
        std::error_code ec;
        path_ = (fs::temp_directory_path(ec) / ("slidemill-text-" + std::to_string(++counter) + "-" +
                                                std::to_string(reinterpret_cast<uintptr_t>(this)) + ".txt"))
                    .string();
        std::ifstream in(source, std::ios::binary);
        if (!in)
            return false;
        in.seekg(30);
        std::ofstream out(path_, std::ios::binary | std::ios::trunc);
        if (in)
            out << in.rdbuf();
        out.close();
        return static_cast<bool>(out);
    }
    ~HeaderlessCopy() {
        if (!path_.empty()) {
            std::error_code ec;
            fs::remove(path_, ec);
        }
    }
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

// The office starts UTF-8 text with a byte-order mark, which plain text on this system never
// has and which tools reading it would take for part of the first line.
bool DropUtf8Mark(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in.eof() && in.fail())
        return false;
    in.close();
    if (content.compare(0, 3, "\xEF\xBB\xBF") != 0)
        return true;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(content.data() + 3, static_cast<std::streamsize>(content.size() - 3));
    out.close();
    return static_cast<bool>(out);
}

// Between a message and the path it names: a console reads them best on lines of their own.
std::string Separator(bool commandLineMode) {
    return commandLineMode ? "\n\n" : "  ";
}

bool Loadable(int32_t code) {
    return LoadFilter(code).name != nullptr;
}

} // namespace

struct WriterRichTextEngine::Impl {
    std::shared_ptr<WriterSession> session = std::make_shared<WriterSession>();
    PdfExportSettings pdf;
    int busyAttempts = 100;
    int busyPauseMs = 100;
    bool commandLineMode = false;
};

WriterRichTextEngine::WriterRichTextEngine(LibreOfficeComponent& office)
    : office_(office), impl_(std::make_unique<Impl>()) {
    impl_->commandLineMode = office.Options().commandLineMode;
}

void WriterRichTextEngine::SetCommandLineMode(bool value) {
    impl_->commandLineMode = value;
}

WriterRichTextEngine::~WriterRichTextEngine() = default;

void WriterRichTextEngine::SetPdfExportSettings(const PdfExportSettings& settings) {
    impl_->pdf = settings;
}

void WriterRichTextEngine::SetBusyWait(int attempts, int pauseMs) {
    impl_->busyAttempts = std::max(1, attempts);
    impl_->busyPauseMs = std::max(0, pauseMs);
}

std::unique_ptr<RichTextDocument> WriterRichTextEngine::NewDocument() {
    return std::make_unique<WriterDocument>(office_, office_.Options().baseDeadlineMs, impl_->session);
}

namespace {

// The outcome of one load attempt.
struct Attempt {
    int number = 0; // 0, or the error number OpenFile reports
    bool busy = false;
    std::string detail;
};

Attempt LoadOnce(LibreOfficeComponent& office, const std::string& path, int32_t code,
                 WriterDocument& document) {
    if (FileBusyForReading(path))
        return {0, true, {}};
    const Sniff sniff = SniffFormat(path, code);
    if (sniff == Sniff::Unreadable)
        return {0, true, {}};
    if (sniff == Sniff::Contradicts)
        return {kRichTextInvalidType, false, {}};

    HeaderlessCopy headerless;
    std::string source = path;
    if (code == 3) {
        if (!headerless.Make(path))
            return {0, true, {}};
        source = headerless.Path();
    }
    const auto url = ToFileUrl(source);
    if (url.isEmpty())
        return {kRichTextLoadFailed, false, "the path cannot be expressed as a URL"};

    const Filter filter = LoadFilter(code);
    // A load that fails is tried once more before the file counts as unloadable.
    Attempt last;
    for (int round = 0; round < 2; ++round) {
        const rtl::Reference<RefusingInteractionHandler> handler(new RefusingInteractionHandler);
        // Read-only as far as the file goes: the office then leaves no lock file beside it.
        // The document itself can still be changed and saved elsewhere.
        NamedValues values{
            {"Hidden", Any(true)},
            {"ReadOnly", Any(true)},
            {"MacroExecutionMode", Any(css::document::MacroExecMode::NEVER_EXECUTE)},
            {"UpdateDocMode", Any(css::document::UpdateDocMode::NO_UPDATE)},
            {"InteractionHandler", Any(Reference<css::task::XInteractionHandler>(handler.get()))},
            {"FilterName", Any(rtl::OUString::createFromAscii(filter.name))}};
        if (filter.options)
            values.emplace_back("FilterOptions", Any(rtl::OUString::createFromAscii(filter.options)));
        const auto args = MakeProperties(values);
        Reference<css::lang::XComponent> loaded;
        bool textDocument = false;
        std::string detail;
        const int32_t result = office.WithOffice(
            office.Options().baseDeadlineMs,
            [&](Office& o) {
                loaded = o.Loader()->loadComponentFromURL(url, "_blank", 0, args);
                const Reference<css::lang::XServiceInfo> info(loaded, css::uno::UNO_QUERY);
                textDocument = info.is() && info->supportsService("com.sun.star.text.TextDocument");
            },
            detail);
        if (result == kEngineOk && loaded.is() && textDocument) {
            document.Adopt(loaded, office.OfficeProcessId());
            return {};
        }
        if (loaded.is()) {
            WriterDocument stray(office, office.Options().baseDeadlineMs);
            stray.Adopt(loaded, office.OfficeProcessId());
            if (result == kEngineOk)
                return {kRichTextInvalidType, false, {}};
        }
        if (handler->Asked() == LoadQuestion::Password)
            return {kRichTextInvalidType, false, {}};
        if (result == kEngineTimedOut || result == kEngineOfficeCrashed || result == kEngineUnavailable)
            last = {result, false, detail};
        else
            last = {kRichTextLoadFailed, false, detail};
        // A hung office was killed after the full deadline: waiting that long again helps nobody.
        if (result == kEngineTimedOut || result == kEngineUnavailable)
            break;
    }
    return last;
}

} // namespace

int WriterRichTextEngine::OpenFile(const std::string& path, int32_t& formatCode, RichTextDocument& document,
                                   std::string& errorText) {
    errorText.clear();
    auto* writer = dynamic_cast<WriterDocument*>(&document);
    if (!writer) {
        errorText = "OpenFile: the document does not belong to this engine";
        return kRichTextNotOurDocument;
    }
    if (!Loadable(formatCode)) {
        errorText = Translate("Unknown File Type");
        return kRichTextUnknownType;
    }
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) {
        errorText =
            Translate("File Load Error. Could be sharing violation or Invalid File Type specified for the "
                      "Original File:") +
            Separator(impl_->commandLineMode) + path;
        return kRichTextLoadFailed;
    }
    const int32_t givenCode = formatCode;
    bool swapped = false;
    for (int attempt = 1;; ++attempt) {
        const Attempt outcome = LoadOnce(office_, path, formatCode, *writer);
        if (outcome.number == 0 && !outcome.busy) {
            impl_->session->textReadFailed = false;
            return 0;
        }
        const bool triesLeft = attempt < impl_->busyAttempts;
        if (outcome.busy) {
            if (triesLeft) {
                std::this_thread::sleep_for(std::chrono::milliseconds(impl_->busyPauseMs));
                continue;
            }
            formatCode = givenCode;
            errorText = Translate("File Load Error ") + std::to_string(kRichTextFileBusy) + "\r\r" + path +
                        "\r\r" + Translate("Permission denied");
            return kRichTextFileBusy;
        }
        if (outcome.number == kRichTextInvalidType && !swapped && (formatCode == 5 || formatCode == 9) &&
            triesLeft) {
            formatCode = formatCode == 5 ? 9 : 5;
            swapped = true;
            continue;
        }
        formatCode = givenCode;
        switch (outcome.number) {
        case kRichTextLoadFailed:
            errorText =
                Translate("File Load Error. Could be sharing violation or Invalid File Type specified for "
                          "the Original File:") +
                Separator(impl_->commandLineMode) + path;
            break;
        case kRichTextInvalidType:
            errorText = Translate("Invalid File Type or password specified for the Input File:") +
                        Separator(impl_->commandLineMode) + path;
            break;
        default:
            errorText = "OpenFile: " + path + ": " + outcome.detail;
            break;
        }
        return outcome.number;
    }
}

int WriterRichTextEngine::FileSave(const std::string& path, int32_t formatCode, RichTextDocument& document,
                                   std::string& errorText) {
    errorText.clear();
    auto* writer = dynamic_cast<WriterDocument*>(&document);
    if (!writer) {
        errorText = "FileSave: the document does not belong to this engine";
        return kRichTextNotOurDocument;
    }
    if (formatCode == 11) {
        errorText = Translate("File Save Error ") + "[" + std::to_string(kRichTextCssNotSupported) + "] " +
                    "\r\r" + path + " \r\r" +
                    Translate("A style sheet (CSS) cannot be written from a document");
        return kRichTextCssNotSupported;
    }
    const Filter filter = SaveFilter(formatCode);
    if (!filter.name) {
        errorText = Translate("Unknown File Type");
        return kRichTextUnknownType;
    }
    if (impl_->session->textReadFailed) {
        errorText = "ActiveX121.FileSave: Error: " + std::to_string(kRichTextSaveFailed) +
                    Separator(impl_->commandLineMode) + path + ": " +
                    Translate("the text of the input file could not be read");
        return kRichTextSaveFailed;
    }
    const bool pdf = formatCode == 12 || formatCode == 14;
    const PdfExportSettings settings = impl_->pdf;
    const bool encrypt = pdf && NeedsEncryption(settings.security);
    const auto failure = [&](int number, const std::string& description) {
        errorText = Translate("File Save Error ") + "[" + std::to_string(number) + "] \r\r" + path + " \r\r" +
                    description;
        return number;
    };
    if (encrypt && formatCode == 14)
        return failure(kRichTextSaveFailed, Translate("A PDF/A file cannot be protected by a password"));

    NamedValues filterData;
    if (pdf) {
        if (settings.imageQuality > 0) {
            filterData.emplace_back("UseLosslessCompression", Any(false));
            filterData.emplace_back("Quality",
                                    Any(static_cast<sal_Int32>(std::min(settings.imageQuality, 100))));
        }
        filterData.emplace_back("ReduceImageResolution", Any(settings.maxImageResolution > 0));
        // The office ignores a limit of 50 dpi or less altogether; the nearest it honours is used.
        if (settings.maxImageResolution > 0)
            filterData.emplace_back("MaxImageResolution",
                                    Any(static_cast<sal_Int32>(std::max(settings.maxImageResolution, 51))));
        if (formatCode == 14)
            filterData.emplace_back("SelectPdfVersion", Any(static_cast<sal_Int32>(1)));
    }

    // One retry, as for a save that was disturbed by something passing. A target that cannot
    // be written at all is reported like a failing file operation, a save the office or the
    // encryption refused like the component's own error; both name the file.
    int number = 0;
    std::string description;
    bool componentError = false;
    for (int round = 0; round < 2; ++round) {
        StagedFile staged;
        std::string why;
        componentError = false;
        if (!staged.Prepare(path, why)) {
            number = kRichTextSaveFailed;
            description = why;
            continue;
        }
        const auto url = ToFileUrl(staged.TempPath());
        NamedValues values{{"FilterName", Any(rtl::OUString::createFromAscii(filter.name))},
                           {"Overwrite", Any(true)}};
        if (filter.options)
            values.emplace_back("FilterOptions", Any(rtl::OUString::createFromAscii(filter.options)));
        if (!filterData.empty())
            values.emplace_back("FilterData", Any(MakeProperties(filterData)));
        const auto args = MakeProperties(values);
        const int32_t result = writer->With(
            [&](const Reference<css::lang::XComponent>& d) {
                Reference<css::frame::XStorable>(d, css::uno::UNO_QUERY_THROW)->storeToURL(url, args);
            },
            why);
        componentError = true;
        if (result != kEngineOk) {
            number = result == kEngineExportFailed ? kRichTextSaveFailed : result;
            description = why.empty() ? Translate("The office could not write the file") : why;
            continue;
        }
        if (encrypt) {
            StagedFile secured;
            if (!secured.Prepare(path, why) ||
                !EncryptPdf(staged.TempPath(), secured.TempPath(), settings.security, why) ||
                !secured.Commit(why)) {
                number = kRichTextSaveFailed;
                description = why;
                continue;
            }
            return 0;
        }
        if (formatCode == 1 && !DropUtf8Mark(staged.TempPath())) {
            number = kRichTextSaveFailed;
            description = "cannot rewrite " + staged.TempPath();
            continue;
        }
        if (!staged.Commit(why)) {
            number = kRichTextSaveFailed;
            description = why;
            continue;
        }
        return 0;
    }
    if (componentError) {
        errorText = "ActiveX121.FileSave: Error: " + std::to_string(number) +
                    Separator(impl_->commandLineMode) + path + ": " + description;
        return number;
    }
    return failure(number, description);
}

} // namespace slidemill
