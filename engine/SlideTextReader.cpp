#include "engine/SlideTextReader.h"

#include <com/sun/star/awt/Point.hpp>
#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/container/XEnumeration.hpp>
#include <com/sun/star/container/XEnumerationAccess.hpp>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/container/XNamed.hpp>
#include <com/sun/star/drawing/XShape.hpp>
#include <com/sun/star/drawing/XShapes.hpp>
#include <com/sun/star/presentation/XPresentationPage.hpp>
#include <com/sun/star/table/XCell.hpp>
#include <com/sun/star/table/XCellRange.hpp>
#include <com/sun/star/table/XTable.hpp>
#include <com/sun/star/text/XText.hpp>
#include <com/sun/star/text/XTextRange.hpp>

#include <algorithm>

namespace slidemill {
namespace {

using css::uno::Reference;
using css::uno::UNO_QUERY;

struct PlacedShape {
    OutlineShape shape;
    int32_t top = 0;
    int32_t left = 0;
};

void AddParagraphs(const Reference<css::text::XText>& text, std::vector<std::string>& out) {
    if (!text.is())
        return;
    const Reference<css::container::XEnumerationAccess> paragraphs(text, UNO_QUERY);
    if (!paragraphs.is()) {
        out.push_back(ToUtf8(text->getString()));
        return;
    }
    const auto it = paragraphs->createEnumeration();
    while (it.is() && it->hasMoreElements()) {
        const Reference<css::text::XTextRange> paragraph(it->nextElement(), UNO_QUERY);
        if (paragraph.is())
            out.push_back(ToUtf8(paragraph->getString()));
    }
}

bool HasText(const std::vector<std::string>& paragraphs) {
    return std::any_of(paragraphs.begin(), paragraphs.end(), [](const std::string& p) {
        return p.find_first_not_of(" \t\r\n") != std::string::npos;
    });
}

void CollectShapes(const Reference<css::container::XIndexAccess>& shapes, std::vector<PlacedShape>& out) {
    if (!shapes.is())
        return;
    const sal_Int32 count = shapes->getCount();
    for (sal_Int32 i = 0; i < count; ++i) {
        const Reference<css::drawing::XShape> shape(shapes->getByIndex(i), UNO_QUERY);
        if (!shape.is())
            continue;
        PlacedShape placed;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
        // Still the one direct way to the shape's service name.
        placed.shape.kind = ToUtf8(shape->getShapeType());
#pragma GCC diagnostic pop
        if (const Reference<css::container::XNamed> named(shape, UNO_QUERY); named.is())
            placed.shape.name = ToUtf8(named->getName());
        const auto position = shape->getPosition();
        placed.top = position.Y;
        placed.left = position.X;

        if (placed.shape.kind == "com.sun.star.drawing.GroupShape") {
            CollectShapes(Reference<css::container::XIndexAccess>(shape, UNO_QUERY), out);
            continue;
        }
        // A slide picture on a notes page and the page furniture (numbers, dates, footers)
        // are not the slide's text.
        static const char* const kSkipped[] = {
            "com.sun.star.presentation.PageShape", "com.sun.star.presentation.SlideNumberShape",
            "com.sun.star.presentation.FooterShape", "com.sun.star.presentation.HeaderShape",
            "com.sun.star.presentation.DateTimeShape"};
        if (std::any_of(std::begin(kSkipped), std::end(kSkipped),
                        [&](const char* kind) { return placed.shape.kind == kind; }))
            continue;
        if (placed.shape.kind == "com.sun.star.drawing.TableShape") {
            const Reference<css::beans::XPropertySet> properties(shape, UNO_QUERY);
            Reference<css::table::XTable> table;
            if (properties.is())
                properties->getPropertyValue("Model") >>= table;
            const Reference<css::table::XCellRange> cells(table, UNO_QUERY);
            if (table.is() && cells.is()) {
                for (sal_Int32 row = 0; row < table->getRowCount(); ++row) {
                    for (sal_Int32 column = 0; column < table->getColumnCount(); ++column)
                        AddParagraphs(
                            Reference<css::text::XText>(cells->getCellByPosition(column, row), UNO_QUERY),
                            placed.shape.paragraphs);
                }
            }
        } else {
            AddParagraphs(Reference<css::text::XText>(shape, UNO_QUERY), placed.shape.paragraphs);
        }
        if (!HasText(placed.shape.paragraphs))
            continue;
        placed.shape.isTitle = placed.shape.kind == "com.sun.star.presentation.TitleTextShape";
        out.push_back(std::move(placed));
    }
}

} // namespace

OutlineSlide ReadSlideOutline(const Reference<css::drawing::XDrawPage>& page, int32_t number,
                              bool withNotes) {
    OutlineSlide slide;
    slide.number = number;
    std::vector<PlacedShape> placed;
    CollectShapes(Reference<css::container::XIndexAccess>(page, UNO_QUERY), placed);
    std::stable_sort(placed.begin(), placed.end(), [](const PlacedShape& a, const PlacedShape& b) {
        if (a.shape.isTitle != b.shape.isTitle)
            return a.shape.isTitle;
        if (a.top != b.top)
            return a.top < b.top;
        return a.left < b.left;
    });
    for (auto& p : placed)
        slide.shapes.push_back(std::move(p.shape));

    if (withNotes) {
        const Reference<css::presentation::XPresentationPage> presentationPage(page, UNO_QUERY);
        const auto notesPage = presentationPage.is() ? presentationPage->getNotesPage() : nullptr;
        std::vector<PlacedShape> notes;
        CollectShapes(Reference<css::container::XIndexAccess>(notesPage, UNO_QUERY), notes);
        for (auto& note : notes) {
            for (auto& paragraph : note.shape.paragraphs)
                slide.notes.push_back(std::move(paragraph));
        }
    }
    return slide;
}

} // namespace slidemill
