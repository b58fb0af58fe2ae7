// The Export and Import commands and the list of their entries; the operations of each
// kind live in OProjectExchange_Export.cpp and OProjectExchange_Import.cpp.
#include "document/files/OProjectExchange.h"

#include "document/ODoc.h"
#include "document/files/OProjectExchangeSupport.h"
#include "model/part/OType_Part.h"
#include "model/partset/OType_ZRPartSet.h"
#include "model/strings/ResStr.h"
#include "platform/UserInteraction.h"

namespace {

bool bHasImages(const OType_PartArray& list) {
    for (int i = 0; i < list.iGetSize(); ++i) {
        if (list.GetAt(i)->iGetNumImages() > 0) return true;
    }
    return false;
}

bool bHasTeachData(const OType_ZRPartSet& set) {
    for (int i = 0; i < set.iGetNum_SubTypes(); ++i) {
        const OType_ZRPartSet_SubType* type = set.opGetSubType(i);
        if (type->bHasData() || type->Vectors().iGetNum() > 0) return true;
    }
    return false;
}

}  // namespace

int iExchangeTextId(ExchangeKind kind) {
    switch (kind) {
        case ExchangeKind::ProjectText:
            return 5201;
        case ExchangeKind::TeachPartList:
            return 5216;
        case ExchangeKind::TeachFeatureTable:
            return 5209;
        case ExchangeKind::TestPartList:
            return 5217;
        case ExchangeKind::TestFeatureTable:
            return 5210;
        case ExchangeKind::Configuration:
            return 5228;
        case ExchangeKind::TeachData:
            return 5204;
        case ExchangeKind::ShownPartImage:
            return 5233;
        case ExchangeKind::TeachPartImages:
            return 5234;
        case ExchangeKind::TestPartImages:
            return 5235;
        case ExchangeKind::Calibration:
            return 5236;
    }
    return 0;
}

OProjectExchange::OProjectExchange(ODoc& doc) : m_doc(doc) {}

OProjectExchange::~OProjectExchange() = default;

std::vector<ExchangeKind> OProjectExchange::ExportEntries() const {
    std::vector<ExchangeKind> entries;
    const OQuillon* session = m_doc.opGetSession();
    const OType_ZRPartSet* set = m_doc.opGetActualPartSet();
    if (!session || !set) return entries;
    const bool family2 = session->bIsFamily2();
    entries.push_back(ExchangeKind::ProjectText);
    if (!set->TeachParts().bIsEmpty()) {
        entries.push_back(ExchangeKind::TeachPartList);
        entries.push_back(ExchangeKind::TeachFeatureTable);
    }
    if (!set->TestParts().bIsEmpty()) {
        entries.push_back(ExchangeKind::TestPartList);
        entries.push_back(ExchangeKind::TestFeatureTable);
    }
    if (family2) entries.push_back(ExchangeKind::Configuration);
    if (!family2 && bHasTeachData(*set)) entries.push_back(ExchangeKind::TeachData);
    if (session->bIsCameraTarget()) {
        const OType_Part* shown = set->opGetShowPart();
        if (shown && shown->iGetNumImages() > 0) entries.push_back(ExchangeKind::ShownPartImage);
        if (bHasImages(set->TeachParts())) entries.push_back(ExchangeKind::TeachPartImages);
        if (bHasImages(set->TestParts())) entries.push_back(ExchangeKind::TestPartImages);
    }
    if (family2 && session->CoordTransformer().bIsSetUp())
        entries.push_back(ExchangeKind::Calibration);
    return entries;
}

std::vector<ExchangeKind> OProjectExchange::ImportEntries() const {
    std::vector<ExchangeKind> entries;
    const OQuillon* session = m_doc.opGetSession();
    if (!session || !m_doc.opGetActualPartSet()) return entries;
    const bool family2 = session->bIsFamily2();
    entries = {ExchangeKind::ProjectText, ExchangeKind::TeachPartList, ExchangeKind::TestPartList,
               family2 ? ExchangeKind::Configuration : ExchangeKind::TeachData};
    if (family2) entries.push_back(ExchangeKind::Calibration);
    entries.push_back(ExchangeKind::TeachPartImages);
    entries.push_back(ExchangeKind::TestPartImages);
    return entries;
}

void OProjectExchange::OnExport() {
    m_doc.CloseCommunicationManager();
    ODoc::OBusyScope busy(m_doc);
    const std::vector<ExchangeKind> entries = ExportEntries();
    if (entries.empty()) return;
    m_doc.HideChildFrames();
    std::vector<std::string> items;
    for (ExchangeKind kind : entries)
        items.push_back(ResStr(iExchangeTextId(kind)));
    int index = 0;
    const bool chosen = m_doc.UI().bChooseFromList(ResStr(5206), ResStr(5214), items, index);
    m_doc.ShowChildFrames();
    if (chosen && index >= 0 && index < static_cast<int>(entries.size()))
        Export(entries[static_cast<size_t>(index)]);
}

void OProjectExchange::OnImport() {
    m_doc.CloseCommunicationManager();
    ODoc::OBusyScope busy(m_doc);
    const std::vector<ExchangeKind> entries = ImportEntries();
    if (entries.empty()) return;
    m_doc.HideChildFrames();
    std::vector<std::string> items;
    for (ExchangeKind kind : entries)
        items.push_back(ResStr(iExchangeTextId(kind)));
    int index = 0;
    const bool chosen = m_doc.UI().bChooseFromList(ResStr(5206), ResStr(5215), items, index);
    if (chosen && index >= 0 && index < static_cast<int>(entries.size()))
        Import(entries[static_cast<size_t>(index)]);
    m_doc.ShowChildFrames();
}

OExchangeResult OProjectExchange::Export(ExchangeKind kind, const std::string& path, int partType) {
    switch (kind) {
        case ExchangeKind::ProjectText:
            return SaveProjectText(path);
        case ExchangeKind::TeachPartList:
            return SavePartList(true, path);
        case ExchangeKind::TestPartList:
            return SavePartList(false, path);
        case ExchangeKind::TeachFeatureTable:
            return SaveFeatureTable(true, path);
        case ExchangeKind::TestFeatureTable:
            return SaveFeatureTable(false, path);
        case ExchangeKind::Configuration:
            return SaveConfiguration(path);
        case ExchangeKind::TeachData:
            return SaveTeachData(partType, path);
        case ExchangeKind::Calibration:
            return SaveCalibration(path);
        case ExchangeKind::ShownPartImage:
            return SaveCameraImages(CameraImages::ShownPart, path);
        case ExchangeKind::TeachPartImages:
            return SaveCameraImages(CameraImages::TeachParts, path);
        case ExchangeKind::TestPartImages:
            return SaveCameraImages(CameraImages::TestParts, path);
    }
    return {};
}

OExchangeResult OProjectExchange::Import(ExchangeKind kind, const std::vector<std::string>& paths,
                                         int partType) {
    const std::string path = paths.empty() ? std::string() : paths.front();
    switch (kind) {
        case ExchangeKind::ProjectText:
            return LoadProjectText(path);
        case ExchangeKind::TeachPartList:
            return LoadPartLists(true, paths);
        case ExchangeKind::TestPartList:
            return LoadPartLists(false, paths);
        case ExchangeKind::TeachData:
            return LoadTeachData(partType, path);
        case ExchangeKind::Configuration:
            return LoadConfiguration(m_doc.opGetSession()->PartSets().iGetActualPartSetNo(), path);
        case ExchangeKind::Calibration:
            return LoadCalibration(path);
        case ExchangeKind::TeachPartImages:
        case ExchangeKind::TestPartImages: {
            // The camera image import asks for its settings itself, and for the pictures
            // when none are given.
            const int result =
                m_doc.ImportCameraImages(kind == ExchangeKind::TeachPartImages, paths);
            if (result == 1) return {OExchangeResult::Done, {}, paths};
            return {result == 2 ? OExchangeResult::Cancelled : OExchangeResult::Failed,
                    result == 2 ? "" : "No picture could be imported."};
        }
        case ExchangeKind::TeachFeatureTable:
        case ExchangeKind::TestFeatureTable:
        case ExchangeKind::ShownPartImage:
            break;
    }
    OExchangeResult result;
    result.message = "This kind of file cannot be imported.";
    return result;
}
