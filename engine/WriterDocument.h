#pragma once

// The office side of a rich-text document: engine sources only (it brings the office headers).
#include "engine/UnoSupport.h"
#include "run/RichText.h"

#include <com/sun/star/lang/XComponent.hpp>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace slidemill {

class LibreOfficeComponent;
class Office;

// What the documents of one engine share. A read of a document's text that failed is also
// remembered here: until the next successful load, nothing is saved, and an output built from
// the unread text is never passed off as the result.
struct WriterSession {
    bool textReadFailed = false;
};

// A Writer document held by the rich-text engine. It belongs to the office process that made
// it: once that office is gone (crashed, hung and killed, recycled) the document is stale and
// every operation on it fails without touching the office that replaced it.
class WriterDocument : public RichTextDocument {
public:
    WriterDocument(LibreOfficeComponent& office, int64_t deadlineMs,
                   std::shared_ptr<WriterSession> session = {});
    ~WriterDocument() override;
    WriterDocument(const WriterDocument&) = delete;
    WriterDocument& operator=(const WriterDocument&) = delete;

    std::u16string PlainText() override;
    bool TextReadFailed() const override { return textReadFailed_; }
    bool ReplaceRange(std::size_t start, std::size_t length, const std::u16string& text) override;
    bool AppendRangeTo(std::size_t start, std::size_t length, RichTextDocument& target) override;
    bool AppendAllTo(RichTextDocument& target) override;

    // Takes over a freshly loaded document, closing the one held before.
    void Adopt(const css::uno::Reference<css::lang::XComponent>& loaded, int officePid);
    // Closes the held document, if any.
    void Close();
    // Runs call on the held document (an empty one is made first when none is held) under the
    // office's watchdog. Returns 0 or the engine's failure code with its reason in detail.
    int32_t With(const std::function<void(const css::uno::Reference<css::lang::XComponent>&)>& call,
                 std::string& detail);

private:
    bool Fresh() const;
    bool Copy(bool whole, std::size_t start, std::size_t length, RichTextDocument& target);

    LibreOfficeComponent& office_;
    int64_t deadlineMs_;
    css::uno::Reference<css::lang::XComponent> component_;
    int officePid_ = 0;
    bool textReadFailed_ = false;
    std::shared_ptr<WriterSession> session_;
};

} // namespace slidemill
