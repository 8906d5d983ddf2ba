#include "engine/WriterDocument.h"

#include "engine/EngineResult.h"
#include "engine/LibreOfficeComponent.h"
#include "engine/Office.h"

#include <com/sun/star/datatransfer/XTransferable.hpp>
#include <com/sun/star/datatransfer/XTransferableSupplier.hpp>
#include <com/sun/star/frame/XController.hpp>
#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/text/XText.hpp>
#include <com/sun/star/text/XTextCursor.hpp>
#include <com/sun/star/text/XTextDocument.hpp>
#include <com/sun/star/util/XCloseable.hpp>
#include <com/sun/star/view/XSelectionSupplier.hpp>

#include <algorithm>

namespace slidemill {
namespace {

using css::uno::Any;
using css::uno::Reference;
using css::uno::UNO_QUERY_THROW;

Reference<css::text::XText> BodyText(const Reference<css::lang::XComponent>& component) {
    return Reference<css::text::XTextDocument>(component, UNO_QUERY_THROW)->getText();
}

// Cursor moves take a 16-bit count.
void MoveRight(const Reference<css::text::XTextCursor>& cursor, std::size_t count, bool expand) {
    while (count > 0) {
        const auto step = static_cast<sal_Int16>(std::min<std::size_t>(count, 32000));
        cursor->goRight(step, expand);
        count -= static_cast<std::size_t>(step);
    }
}

Reference<css::text::XTextCursor> RangeCursor(const Reference<css::lang::XComponent>& component,
                                              std::size_t start, std::size_t length) {
    const auto cursor = BodyText(component)->createTextCursor();
    cursor->gotoStart(false);
    MoveRight(cursor, start, false);
    MoveRight(cursor, length, true);
    return cursor;
}

Reference<css::frame::XController> ControllerOf(const Reference<css::lang::XComponent>& component) {
    return Reference<css::frame::XModel>(component, UNO_QUERY_THROW)->getCurrentController();
}

} // namespace

WriterDocument::WriterDocument(LibreOfficeComponent& office, int64_t deadlineMs,
                               std::shared_ptr<WriterSession> session)
    : office_(office), deadlineMs_(deadlineMs), session_(std::move(session)) {}

WriterDocument::~WriterDocument() {
    Close();
}

bool WriterDocument::Fresh() const {
    return component_.is() && officePid_ != 0 && office_.OfficeProcessId() == officePid_;
}

void WriterDocument::Adopt(const Reference<css::lang::XComponent>& loaded, int officePid) {
    Close();
    component_ = loaded;
    officePid_ = officePid;
}

void WriterDocument::Close() {
    if (!component_.is())
        return;
    if (UnoRuntimeEnding()) {
        // The connection may already be torn down: not even a release may go through it.
        (void)new Reference<css::lang::XComponent>(std::move(component_));
        return;
    }
    if (Fresh()) {
        std::string ignored;
        const auto document = component_;
        office_.WithOffice(
            deadlineMs_,
            [&](Office&) {
                const Reference<css::util::XCloseable> closeable(document, css::uno::UNO_QUERY);
                if (closeable.is())
                    closeable->close(true);
                else
                    document->dispose();
            },
            ignored);
        component_.clear();
    } else {
        // Its office is gone; a release through the dead bridge is harmless, a call is not.
        component_.clear();
    }
    officePid_ = 0;
}

int32_t WriterDocument::With(const std::function<void(const Reference<css::lang::XComponent>&)>& call,
                             std::string& detail) {
    if (component_.is() && !Fresh()) {
        detail = "the office holding the document has stopped";
        return kEngineOfficeCrashed;
    }
    if (!component_.is()) {
        Reference<css::lang::XComponent> created;
        const int32_t result = office_.WithOffice(
            deadlineMs_,
            [&](Office& office) {
                created = office.Loader()->loadComponentFromURL("private:factory/swriter", "_blank", 0,
                                                                MakeProperties({{"Hidden", Any(true)}}));
            },
            detail);
        if (result != kEngineOk)
            return result;
        if (!created.is()) {
            detail = "the office made no new document";
            return kEngineExportFailed;
        }
        component_ = created;
        officePid_ = office_.OfficeProcessId();
    }
    const auto document = component_;
    return office_.WithOffice(
        deadlineMs_, [&](Office&) { call(document); }, detail);
}

std::u16string WriterDocument::PlainText() {
    rtl::OUString text;
    std::string detail;
    textReadFailed_ = false;
    if (With([&](const Reference<css::lang::XComponent>& d) { text = BodyText(d)->getString(); }, detail) !=
        kEngineOk) {
        textReadFailed_ = true;
        if (session_)
            session_->textReadFailed = true;
        return {};
    }
    std::u16string result(reinterpret_cast<const char16_t*>(text.getStr()),
                          static_cast<std::size_t>(text.getLength()));
    // Paragraphs end in a line feed whatever the office separates them with.
    std::u16string normalised;
    normalised.reserve(result.size());
    for (std::size_t i = 0; i < result.size(); ++i) {
        if (result[i] == u'\r') {
            if (i + 1 < result.size() && result[i + 1] == u'\n')
                continue;
            normalised.push_back(u'\n');
        } else {
            normalised.push_back(result[i]);
        }
    }
    return normalised;
}

bool WriterDocument::ReplaceRange(std::size_t start, std::size_t length, const std::u16string& text) {
    std::string detail;
    const rtl::OUString replacement(reinterpret_cast<const sal_Unicode*>(text.data()),
                                    static_cast<sal_Int32>(text.size()));
    return With(
               [&](const Reference<css::lang::XComponent>& d) {
                   RangeCursor(d, start, length)->setString(replacement);
               },
               detail) == kEngineOk;
}

bool WriterDocument::AppendRangeTo(std::size_t start, std::size_t length, RichTextDocument& target) {
    return Copy(false, start, length, target);
}

bool WriterDocument::AppendAllTo(RichTextDocument& target) {
    return Copy(true, 0, 0, target);
}

// Copies through the office's own clipboard format between the two documents' views, which
// carries every kind of formatting; nothing passes through this process but the handle.
bool WriterDocument::Copy(bool whole, std::size_t start, std::size_t length, RichTextDocument& target) {
    auto* other = dynamic_cast<WriterDocument*>(&target);
    if (!other || other == this)
        return false;
    std::string detail;
    Reference<css::datatransfer::XTransferable> content;
    bool empty = false;
    if (With(
            [&](const Reference<css::lang::XComponent>& d) {
                Reference<css::text::XTextCursor> cursor;
                if (whole) {
                    cursor = BodyText(d)->createTextCursor();
                    cursor->gotoStart(false);
                    cursor->gotoEnd(true);
                } else {
                    cursor = RangeCursor(d, start, length);
                }
                empty = cursor->isCollapsed();
                if (empty)
                    return;
                const auto controller = ControllerOf(d);
                Reference<css::view::XSelectionSupplier>(controller, UNO_QUERY_THROW)->select(Any(cursor));
                content = Reference<css::datatransfer::XTransferableSupplier>(controller, UNO_QUERY_THROW)
                              ->getTransferable();
            },
            detail) != kEngineOk)
        return false;
    if (empty)
        return true;
    if (!content.is())
        return false;
    return other->With(
               [&](const Reference<css::lang::XComponent>& d) {
                   const auto cursor = BodyText(d)->createTextCursor();
                   cursor->gotoEnd(false);
                   const auto controller = ControllerOf(d);
                   Reference<css::view::XSelectionSupplier>(controller, UNO_QUERY_THROW)->select(Any(cursor));
                   Reference<css::datatransfer::XTransferableSupplier>(controller, UNO_QUERY_THROW)
                       ->insertTransferable(content);
               },
               detail) == kEngineOk;
}

} // namespace slidemill
