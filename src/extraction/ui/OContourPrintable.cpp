#include "extraction/ui/OContourPrintable.h"

#include <algorithm>

#include "document/ODoc.h"
#include "extraction/OContourViewController.h"
#include "extraction/OContourViewPaint.h"
#include "extraction/OContourViewScene.h"
#include "extraction/OExtractorHost.h"
#include "model/device/ZRINFO.h"
#include "model/draw/OPageLayout.h"
#include "model/part/OType_Part.h"
#include "model/partset/OType_ZRPartSet.h"
#include "model/strings/FormatPrintf.h"

namespace {

// Tenths of a millimetre per view pixel on paper.
constexpr int kPaperUnit = 3;

// The feature list's columns; the data word only when the device shows data words.
std::vector<PageLayout::OTableColumn> FeatureColumns(bool dataWords) {
    using PartFeaturesDisplay::FeatureColumnHeadings;
    const auto& h = FeatureColumnHeadings();
    const std::array<int, PartFeaturesDisplay::kColumnCount> weights = {3, 6, 13, 2, 5,
                                                                        4, 3, 3,  4, 5};
    std::vector<PageLayout::OTableColumn> columns;
    for (size_t i = 0; i < h.size(); ++i) {
        if (i == PartFeaturesDisplay::kAddress && !dataWords) continue;
        columns.push_back({std::string(h[i]), weights[i], OTextAlign::Left});
    }
    return columns;
}

const OType_Part* ShownPart(ODoc& doc) {
    const OType_ZRPartSet* set = doc.opGetActualPartSet();
    return set ? ContourViewPaint::ShownPart(*set).part : nullptr;
}

}  // namespace

OContourPrintable::OContourPrintable(ODoc& doc, PicturePainter picture,
                                     std::pair<int, int> screenSize)
    : m_doc(doc), m_picture(std::move(picture)), m_screenSize(screenSize) {}

OPartFeaturesContext OContourPrintable::FeaturesContext(ODoc& doc) {
    OPartFeaturesContext context;
    const OType_ZRPartSet* set = doc.opGetActualPartSet();
    if (!doc.opGetSession() || !set) return context;
    OExtractorHost& host = doc.ExtractorHost();
    context.usesTypes = host.bUsesTypes();
    context.partTypes = set->iGetNum_SubTypes();
    context.usesOrientations = host.bUsesOrientations();
    context.usesQuality = host.bUsesQualityDecision();
    // A device with a field-bus add-in publishes its results as data words.
    const int addIn = host.GetDeviceInfo().u16(ZRINFO::kAddIn);
    context.dataWordMode = addIn == 0 ? 0 : (addIn == 2 ? 2 : 1);
    return context;
}

std::string OContourPrintable::PrintTitle() const {
    return "Part contour";
}

int OContourPrintable::iPreparePages(const OPage& page) {
    m_info.clear();
    m_rows.clear();
    const OType_Part* part = ShownPart(m_doc);
    const OType_ZRPartSet* set = m_doc.opGetActualPartSet();
    if (!part || !set) return 0;
    const OPartFeaturesContext context = FeaturesContext(m_doc);
    m_info = PartFeaturesDisplay::InfoRows(*part, context);
    m_dataWords = context.dataWordMode != 0;
    for (OFeatureRow& row :
         PartFeaturesDisplay::FeatureRows(*set, *part, set->iShowFeatureGetNo(), context)) {
        m_rows.emplace_back(row.columns.begin(), row.columns.end());
        if (!m_dataWords) m_rows.back().pop_back();  // the data word is the last column
    }
    const ContourViewPaint::OPrintBands bands = ContourViewPaint::PrintBands(page.Area());
    m_textBand = bands.text;
    PageLayout::OPrintTable table(FeatureColumns(m_dataWords));
    for (const auto& row : m_rows)
        table.AddRow(row);
    m_pageStarts = table.PageStarts(bands.text.bottom - bands.text.top,
                                    page.height - 2 * PageLayout::kHeadTextHeight);
    return static_cast<int>(m_pageStarts.size());
}

void OContourPrintable::PaintPage(OPainter& painter, int index, const OPage& page) {
    const int pages = static_cast<int>(m_pageStarts.size());
    PageLayout::OPrintTable table(FeatureColumns(m_dataWords));
    for (const auto& row : m_rows)
        table.AddRow(row);
    const int first = m_pageStarts[static_cast<size_t>(index)];
    const int end =
        index + 1 < pages ? m_pageStarts[static_cast<size_t>(index) + 1] : table.iGetRowCount();
    ORect tableArea;
    if (index == 0) {
        const ContourViewPaint::OPrintBands bands = ContourViewPaint::PrintBands(page.Area());
        PaintHead(painter, bands.head, index, pages);
        PaintPicture(painter, bands.picture);
        tableArea = bands.text;
    } else {
        painter.SetMapping(OMapping::Identity());
        tableArea = PageLayout::HeadLine(painter, page.Area(), PrintTitle(),
                                         PageLayout::PageNumberText(index + 1, pages));
    }
    painter.SetMapping(OMapping::Identity());
    table.Paint(painter, tableArea, first, end - first);
}

void OContourPrintable::PaintHead(OPainter& painter, const ORect& band, int index, int pages) {
    painter.SetMapping(OMapping::Identity());
    const ORect below = PageLayout::HeadLine(painter, band, PrintTitle() + " - " + m_doc.GetTitle(),
                                             PageLayout::PageNumberText(index + 1, pages));
    // The part's rows in two columns of caption and value.
    painter.SetFont(PageLayout::kTextHeight);
    painter.SetPen({0, 0, 0});
    const int lineHeight = PageLayout::kTextHeight + PageLayout::kCellPadding;
    const int half = (band.right - band.left) / 2;
    const int perColumn = std::max(1, (below.bottom - below.top) / lineHeight);
    for (size_t i = 0; i < m_info.size(); ++i) {
        const int column = static_cast<int>(i) / perColumn;
        if (column > 1) break;
        const int x = band.left + column * half;
        const int y = below.top + (static_cast<int>(i) % perColumn) * lineHeight;
        std::string value = m_info[i].value;
        if (!m_info[i].dataWord.empty()) value += "   (" + m_info[i].dataWord + ")";
        painter.DrawText({x, y}, m_info[i].caption + ":");
        painter.DrawText({x + half / 2, y}, value);
    }
}

void OContourPrintable::PaintPicture(OPainter& painter, const ORect& band) {
    if (!m_picture) return;
    OContourSceneArea area;
    area.unit = kPaperUnit;
    area.width = (band.right - band.left) / kPaperUnit;
    area.height = (band.bottom - band.top) / kPaperUnit;
    // The screen's visible range, spread over the band with the screen's proportions.
    const auto [screenWidth, screenHeight] = m_screenSize;
    if (screenWidth > 0 && screenHeight > 0) {
        const double scale = std::min(static_cast<double>(area.width) / screenWidth,
                                      static_cast<double>(area.height) / screenHeight);
        area.width = std::max(1, static_cast<int>(screenWidth * scale));
        area.height = std::max(1, static_cast<int>(screenHeight * scale));
    }
    area.origin = {band.left, band.top};
    m_picture(painter, area);
    painter.SetMapping(OMapping::Identity());
    painter.NoBrush();
    painter.SetPen({0, 0, 0});
    painter.DrawRect({band.left, band.top, band.left + area.width * kPaperUnit,
                      band.top + area.height * kPaperUnit});
}
