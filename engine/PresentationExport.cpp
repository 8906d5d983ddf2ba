#include "engine/PresentationExport.h"

#include "engine/SlideTextReader.h"

#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/drawing/GraphicExportFilter.hpp>
#include <com/sun/star/drawing/XDrawPage.hpp>
#include <com/sun/star/drawing/XDrawPages.hpp>
#include <com/sun/star/drawing/XDrawPagesSupplier.hpp>
#include <com/sun/star/frame/XStorable.hpp>
#include <com/sun/star/graphic/GraphicProvider.hpp>
#include <com/sun/star/graphic/XGraphicProvider.hpp>
#include <com/sun/star/lang/XServiceInfo.hpp>
#include <com/sun/star/uno/RuntimeException.hpp>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string_view>

namespace slidemill {
namespace {

using css::uno::Any;
using css::uno::Reference;
using css::uno::UNO_QUERY;
using css::uno::UNO_QUERY_THROW;

Reference<css::drawing::XDrawPages> PagesOf(const Document& document) {
    const Reference<css::drawing::XDrawPagesSupplier> supplier(document, UNO_QUERY_THROW);
    return supplier->getDrawPages();
}

void Store(const Document& document, const std::string& path,
           const css::uno::Sequence<css::beans::PropertyValue>& args) {
    const Reference<css::frame::XStorable> storable(document, UNO_QUERY_THROW);
    const auto url = ToFileUrl(path);
    if (url.isEmpty())
        throw css::uno::RuntimeException("the target path cannot be expressed as a URL");
    storable->storeToURL(url, args);
}

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

} // namespace

int32_t SlideCount(const Document& document) {
    return PagesOf(document)->getCount();
}

bool IsPresentation(const Document& document) {
    const Reference<css::lang::XServiceInfo> info(document, UNO_QUERY);
    return info.is() && info->supportsService("com.sun.star.presentation.PresentationDocument");
}

void ExportPdf(const Document& document, const std::string& path, const SlideRange& range, bool notes,
               bool notesOnly, int32_t pdfVersion, const Indicator& indicator) {
    NamedValues filterData{{"ExportNotesPages", Any(notes || notesOnly)},
                           {"ExportOnlyNotesPages", Any(notesOnly)}};
    if (!range.wholeDeck)
        filterData.emplace_back(
            "PageRange", Any(ToOUString(std::to_string(range.first) + "-" + std::to_string(range.last))));
    if (pdfVersion > 0)
        filterData.emplace_back("SelectPdfVersion", Any(pdfVersion));
    NamedValues args{{"FilterName", Any(rtl::OUString("impress_pdf_Export"))},
                     {"FilterData", Any(MakeProperties(filterData))},
                     {"Overwrite", Any(true)}};
    if (indicator.is())
        args.emplace_back("StatusIndicator", Any(indicator));
    Store(document, path, MakeProperties(args));
}

void KeepOnlySlides(const Document& document, const SlideRange& range) {
    if (range.wholeDeck)
        return;
    const auto pages = PagesOf(document);
    // From the end, so that the numbers of the slides still to visit do not move.
    for (sal_Int32 index = pages->getCount() - 1; index >= 0; --index) {
        const int32_t number = index + 1;
        if (number >= range.first && number <= range.last)
            continue;
        const Reference<css::drawing::XDrawPage> page(pages->getByIndex(index), UNO_QUERY_THROW);
        pages->remove(page);
    }
}

void StoreWithFilter(const Document& document, const std::string& path, const char* filter,
                     const Indicator& indicator) {
    NamedValues args{{"FilterName", Any(rtl::OUString::createFromAscii(filter))}, {"Overwrite", Any(true)}};
    if (indicator.is())
        args.emplace_back("StatusIndicator", Any(indicator));
    Store(document, path, MakeProperties(args));
}

void ExportHtml(const Document& document, const std::string& path, int32_t widthPx) {
    const NamedValues filterData{{"PublishMode", Any(sal_Int32(0))},
                                 {"Format", Any(sal_Int32(2))},
                                 {"Width", Any(sal_Int32(widthPx))}};
    Store(document, path,
          MakeProperties({{"FilterName", Any(rtl::OUString("impress_html_Export"))},
                          {"FilterData", Any(MakeProperties(filterData))},
                          {"Overwrite", Any(true)}}));
}

void ExportSlidePicture(const Context& context, const Document& document, int32_t number,
                        const std::string& path, const char* mediaType, int32_t widthPx, int32_t& pixelWidth,
                        int32_t& pixelHeight) {
    const auto pages = PagesOf(document);
    const Reference<css::lang::XComponent> page(pages->getByIndex(number - 1), UNO_QUERY_THROW);
    const Reference<css::beans::XPropertySet> properties(page, UNO_QUERY_THROW);
    sal_Int32 width = 0, height = 0;
    properties->getPropertyValue("Width") >>= width;
    properties->getPropertyValue("Height") >>= height;
    pixelWidth = widthPx;
    pixelHeight = width > 0 && height > 0
                      ? static_cast<int32_t>((int64_t{widthPx} * height + width / 2) / width)
                      : widthPx * 3 / 4;
    // The office draws BMP pictures through a path capped at about one megabyte of pixels, so a
    // slide would come out far smaller than asked: it is drawn as PNG and that picture stored
    // as BMP instead.
    const bool viaPng = std::string_view(mediaType) == "image/bmp";
    const std::string drawn = viaPng ? path + ".png" : path;
    const auto filter = css::drawing::GraphicExportFilter::create(context);
    filter->setSourceDocument(page);
    const NamedValues filterData{{"PixelWidth", Any(sal_Int32(pixelWidth))},
                                 {"PixelHeight", Any(sal_Int32(pixelHeight))}};
    const auto ok = filter->filter(
        MakeProperties({{"URL", Any(ToFileUrl(drawn))},
                        {"MediaType", Any(rtl::OUString::createFromAscii(viaPng ? "image/png" : mediaType))},
                        {"FilterData", Any(MakeProperties(filterData))}}));
    if (!ok)
        throw css::uno::RuntimeException("the office could not draw slide " + rtl::OUString::number(number));
    if (viaPng) {
        struct RemoveDrawn {
            std::string path;
            ~RemoveDrawn() {
                std::error_code ignored;
                std::filesystem::remove(path, ignored);
            }
        } removeDrawn{drawn};
        const auto provider = css::graphic::GraphicProvider::create(context);
        const auto picture = provider->queryGraphic(MakeProperties({{"URL", Any(ToFileUrl(drawn))}}));
        if (!picture.is())
            throw css::uno::RuntimeException("the office could not read its picture of slide " +
                                             rtl::OUString::number(number));
        provider->storeGraphic(picture, MakeProperties({{"URL", Any(ToFileUrl(path))},
                                                        {"MimeType", Any(rtl::OUString("image/x-MS-bmp"))}}));
    }
}

std::vector<OutlineSlide> ReadOutline(const Context& context, const Document& document,
                                      const SlideRange& range, bool notes, bool pictures, int32_t widthPx,
                                      const std::string& scratchFolder,
                                      const std::function<void(float)>& progress) {
    std::vector<OutlineSlide> slides;
    const auto pages = PagesOf(document);
    const int32_t total = range.last - range.first + 1;
    for (int32_t number = range.first; number <= range.last; ++number) {
        const Reference<css::drawing::XDrawPage> page(pages->getByIndex(number - 1), UNO_QUERY_THROW);
        OutlineSlide slide = ReadSlideOutline(page, number, notes);
        if (pictures) {
            const std::string picture = scratchFolder + "/slide" + std::to_string(number) + ".png";
            ExportSlidePicture(context, document, number, picture, "image/png", widthPx, slide.pictureWidthPx,
                               slide.pictureHeightPx);
            slide.pngData = ReadBytes(picture);
            std::error_code ec;
            std::filesystem::remove(picture, ec);
            if (slide.pngData.empty())
                throw css::uno::RuntimeException("the office wrote no picture of slide " +
                                                 rtl::OUString::number(number));
        }
        slides.push_back(std::move(slide));
        if (progress)
            progress(static_cast<float>(number - range.first + 1) / static_cast<float>(total));
    }
    return slides;
}

} // namespace slidemill
