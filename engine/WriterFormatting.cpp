#include "engine/WriterFormatting.h"

#include "engine/PdfMapping.h"

#include <com/sun/star/awt/FontSlant.hpp>
#include <com/sun/star/awt/FontStrikeout.hpp>
#include <com/sun/star/awt/FontWeight.hpp>
#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/container/XNameAccess.hpp>
#include <com/sun/star/lang/DisposedException.hpp>
#include <com/sun/star/style/LineSpacing.hpp>
#include <com/sun/star/style/LineSpacingMode.hpp>
#include <com/sun/star/style/ParagraphAdjust.hpp>
#include <com/sun/star/style/XStyleFamiliesSupplier.hpp>
#include <com/sun/star/table/BorderLine2.hpp>
#include <com/sun/star/table/BorderLineStyle.hpp>
#include <com/sun/star/text/XText.hpp>
#include <com/sun/star/text/XTextCursor.hpp>
#include <com/sun/star/text/XTextDocument.hpp>

namespace slidemill {
namespace {

using css::uno::Any;
using css::uno::Reference;
using css::uno::UNO_QUERY_THROW;

// A value the document will not take is left as it was; a dead connection is not swallowed.
void Set(const Reference<css::beans::XPropertySet>& target, const char* name, const Any& value) {
    try {
        target->setPropertyValue(rtl::OUString::createFromAscii(name), value);
    } catch (const css::lang::DisposedException&) {
        throw;
    } catch (const css::uno::Exception&) {
    }
}

void ApplyPage(const Reference<css::lang::XComponent>& document, const PdfOptions& o) {
    const auto families =
        Reference<css::style::XStyleFamiliesSupplier>(document, UNO_QUERY_THROW)->getStyleFamilies();
    const Reference<css::container::XNameAccess> pageStyles(families->getByName("PageStyles"),
                                                            UNO_QUERY_THROW);
    // Every page style, not only those in use: a first-page or follow style becomes "in use"
    // as the text flows, and an unused one costs nothing.
    const auto names = pageStyles->getElementNames();
    for (const auto& name : names) {
        const Reference<css::beans::XPropertySet> style(pageStyles->getByName(name), css::uno::UNO_QUERY);
        if (!style.is())
            continue;
        Set(style, "LeftMargin", Any(TwipsToHundredthMm(o.lPdxPageMarginL)));
        Set(style, "TopMargin", Any(TwipsToHundredthMm(o.lPdxPageMarginT)));
        Set(style, "RightMargin", Any(TwipsToHundredthMm(o.lPdxPageMarginR)));
        Set(style, "BottomMargin", Any(TwipsToHundredthMm(o.lPdxPageMarginB)));
        if (o.lPdxPageWidth > 0 && o.lPdxPageHeight > 0) {
            // The landscape flag first: setting it swaps the current sides, which the size
            // written next then overrides.
            Set(style, "IsLandscape", Any(o.lPdxPageWidth > o.lPdxPageHeight));
            Set(style, "Width", Any(TwipsToHundredthMm(o.lPdxPageWidth)));
            Set(style, "Height", Any(TwipsToHundredthMm(o.lPdxPageHeight)));
        }
    }
}

css::table::BorderLine2 FrameLine(bool present, const PdfOptions& o, bool doubleLine) {
    css::table::BorderLine2 line;
    if (!present)
        return line;
    // A width of 0 means the thinnest visible line (about half a point).
    const sal_Int32 width = o.lPdxFrameLineWidth > 0 ? TwipsToHundredthMm(o.lPdxFrameLineWidth) : 18;
    line.Color = 0;
    line.LineStyle = doubleLine ? css::table::BorderLineStyle::DOUBLE : css::table::BorderLineStyle::SOLID;
    line.LineWidth = static_cast<sal_uInt32>(width);
    line.OuterLineWidth = static_cast<sal_Int16>(doubleLine ? std::max<sal_Int32>(1, width / 3) : width);
    line.InnerLineWidth = static_cast<sal_Int16>(doubleLine ? std::max<sal_Int32>(1, width / 3) : 0);
    line.LineDistance = static_cast<sal_Int16>(doubleLine ? std::max<sal_Int32>(1, width / 3) : 0);
    return line;
}

// The control's paragraph values on the office's paragraph properties:
//   Alignment → ParaAdjust; IndentL / IndentR → ParaLeftMargin / ParaRightMargin;
//   IndentFL (first line, may be negative) → ParaFirstLineIndent; IndentT / IndentB (space above
//   and below) → ParaTopMargin / ParaBottomMargin; LineSpacingT (exact, twips) or else
//   LineSpacing (percent) → ParaLineSpacing; FrameStyle / FrameLineWidth → the four paragraph
//   borders; FrameDistance → BorderDistance (between border and text).
void ApplyParagraph(const Reference<css::beans::XPropertySet>& all, const PdfOptions& o) {
    Set(all, "ParaAdjust",
        Any(static_cast<css::style::ParagraphAdjust>(WriterParagraphAdjust(o.lPdxAlignment))));
    const FrameSides sides = FrameSidesFromStyle(o.lPdxFrameStyle);
    Set(all, "LeftBorder", Any(FrameLine(sides.left, o, sides.doubleLine)));
    Set(all, "RightBorder", Any(FrameLine(sides.right, o, sides.doubleLine)));
    Set(all, "TopBorder", Any(FrameLine(sides.top, o, sides.doubleLine)));
    Set(all, "BottomBorder", Any(FrameLine(sides.bottom, o, sides.doubleLine)));
    Set(all, "BorderDistance", Any(TwipsToHundredthMm(std::max(0, o.lPdxFrameDistance))));
    Set(all, "ParaBottomMargin", Any(TwipsToHundredthMm(std::max(0, o.lPdxIndentB))));
    Set(all, "ParaFirstLineIndent", Any(TwipsToHundredthMm(o.lPdxIndentFL)));
    Set(all, "ParaLeftMargin", Any(TwipsToHundredthMm(o.lPdxIndentL)));
    Set(all, "ParaRightMargin", Any(TwipsToHundredthMm(o.lPdxIndentR)));
    Set(all, "ParaTopMargin", Any(TwipsToHundredthMm(std::max(0, o.lPdxIndentT))));
    css::style::LineSpacing spacing;
    if (o.lPdxLineSpacingT > 0) {
        spacing.Mode = css::style::LineSpacingMode::FIX;
        spacing.Height = static_cast<sal_Int16>(std::min(TwipsToHundredthMm(o.lPdxLineSpacingT), 32767));
        Set(all, "ParaLineSpacing", Any(spacing));
    } else if (o.lPdxLineSpacing > 0) {
        spacing.Mode = css::style::LineSpacingMode::PROP;
        spacing.Height = static_cast<sal_Int16>(std::min(o.lPdxLineSpacing, 1000));
        Set(all, "ParaLineSpacing", Any(spacing));
    }
}

void ApplyCharacters(const Reference<css::beans::XPropertySet>& all, const PdfOptions& o) {
    Set(all, "CharEscapement", Any(EscapementPercent(o.lPdxBaseLine, o.lPdxFontSize)));
    Set(all, "CharEscapementHeight", Any(static_cast<sal_Int8>(100)));
    const float weight = o.lPdxFontBold != 0 ? css::awt::FontWeight::BOLD : css::awt::FontWeight::NORMAL;
    const auto slant = o.lPdxFontItalic != 0 ? css::awt::FontSlant_ITALIC : css::awt::FontSlant_NONE;
    for (const char* suffix : {"", "Asian", "Complex"}) {
        const std::string s(suffix);
        Set(all, ("CharWeight" + s).c_str(), Any(weight));
        Set(all, ("CharPosture" + s).c_str(), Any(slant));
        if (o.lPdxFontSize > 0)
            Set(all, ("CharHeight" + s).c_str(), Any(static_cast<float>(o.lPdxFontSize)));
    }
    Set(all, "CharStrikeout",
        Any(o.lPdxFontStrikethru != 0 ? css::awt::FontStrikeout::SINGLE : css::awt::FontStrikeout::NONE));
    Set(all, "CharUnderline", Any(WriterUnderline(o.lPdxFontUnderline, o.lPdxFontUnderlineStyle)));
    Set(all, "CharColor", Any(BgrToRgb(o.lPdxForeColor)));
    const sal_Int32 back = WriterBackColor(o.lPdxTextBkColor);
    Set(all, "CharBackColor", Any(back));
    Set(all, "CharBackTransparent", Any(back == -1));
    if (!o.sPdxFontName.empty()) {
        const Any name(ToOUString(o.sPdxFontName));
        Set(all, "CharFontName", name);
        Set(all, "CharFontNameAsian", name);
        Set(all, "CharFontNameComplex", name);
        // A style name of the old font ("Bold", "Italique") would not exist in the new one.
        Set(all, "CharFontStyleName", Any(rtl::OUString()));
    }
}

} // namespace

void ApplyEnforcedSettings(const Reference<css::lang::XComponent>& document, const PdfOptions& o) {
    if (o.bOverridePageSettings)
        ApplyPage(document, o);
    if (!o.bOverrideParagraphSettings && !o.bOverrideFontSettings)
        return;
    const auto text = Reference<css::text::XTextDocument>(document, UNO_QUERY_THROW)->getText();
    const auto cursor = text->createTextCursor();
    cursor->gotoStart(false);
    cursor->gotoEnd(true);
    const Reference<css::beans::XPropertySet> all(cursor, UNO_QUERY_THROW);
    if (o.bOverrideParagraphSettings)
        ApplyParagraph(all, o);
    if (o.bOverrideFontSettings)
        ApplyCharacters(all, o);
}

} // namespace slidemill
