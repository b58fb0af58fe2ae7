#include "document/CommandTable.h"

#include <algorithm>
#include <unordered_map>

#include "document/CommandIds.h"
#include "document/ODoc_Wizards.h"
#include "document/ODoc.h"
#include "extraction/OContourEditCommands.h"

namespace {

// Menu texts are the program's own; the menus list them in this order.
const std::vector<OCommandInfo> kTable = {
    {57600, "&New\tCtrl+N", "&File"},
    {57601, "&Open...\tCtrl+O", "&File"},
    {57602, "&Close", "&File"},
    {57603, "&Save\tCtrl+S", "&File"},
    {57604, "Save &As...", "&File"},
    {0, "", "&File"},
    {32906, "&Import...", "&File"},
    {32907, "&Export...", "&File"},
    {0, "", "&File"},
    {32914, "Print pro&ject...", "&File"},
    {57607, "&Print...\tCtrl+P", "&File"},
    {57609, "Print Pre&view", "&File"},
    {0, "", "&File"},
    {57616, "Recent file 1", "&File"},
    {57617, "Recent file 2", "&File"},
    {57618, "Recent file 3", "&File"},
    {57619, "Recent file 4", "&File"},
    {57620, "Recent file 5", "&File"},
    {57621, "Recent file 6", "&File"},
    {57622, "Recent file 7", "&File"},
    {57623, "Recent file 8", "&File"},
    {0, "", "&File"},
    {57665, "E&xit", "&File"},
    {57643, "Undo\tCtrl+Z", "&Edit"},
    {57644, "Redo\tCtrl+Y", "&Edit"},
    {0, "", "&Edit"},
    {57635, "Cu&t\tCtrl+X", "&Edit"},
    {57634, "&Copy\tCtrl+C", "&Edit"},
    {57637, "&Paste\tCtrl+V", "&Edit"},
    {32899, "&Delete\tDel", "&Edit"},
    {57642, "Select &all", "&Edit"},
    {0, "", "&Edit"},
    {32908, "Part properties\tCtrl+E", "&Edit"},
    {32882, "Delete part", "&Edit"},
    {33018, "Delete camera images", "&Edit"},
    {0, "", "&Edit"},
    {32812, "Assign orientation 1\tCtrl+1", "&Edit/Assign &orientation"},
    {32813, "Assign orientation 2\tCtrl+2", "&Edit/Assign &orientation"},
    {32814, "Assign orientation 3\tCtrl+3", "&Edit/Assign &orientation"},
    {32815, "Assign orientation 4\tCtrl+4", "&Edit/Assign &orientation"},
    {32816, "Assign orientation 5\tCtrl+5", "&Edit/Assign &orientation"},
    {32817, "Assign orientation 6\tCtrl+6", "&Edit/Assign &orientation"},
    {32818, "Assign orientation 7\tCtrl+7", "&Edit/Assign &orientation"},
    {32819, "Assign orientation 8\tCtrl+8", "&Edit/Assign &orientation"},
    {0, "", "&Edit/Assign &orientation"},
    {33059, "Use parts at teach process\tCtrl+1", "&Edit/Assign &orientation"},
    {32820, "Ignore parts at teach process\tCtrl+0", "&Edit/Assign &orientation"},
    {32805, "Assign type 1\tCtrl+Shift+1", "&Edit/Assign t&ype"},
    {32806, "Assign type 2\tCtrl+Shift+2", "&Edit/Assign t&ype"},
    {32807, "Assign type 3\tCtrl+Shift+3", "&Edit/Assign t&ype"},
    {32808, "Assign type 4\tCtrl+Shift+4", "&Edit/Assign t&ype"},
    {32809, "Assign type 5\tCtrl+Shift+5", "&Edit/Assign t&ype"},
    {32811, "Assign type 6\tCtrl+Shift+6", "&Edit/Assign t&ype"},
    {33004, "Assign type 7\tCtrl+Shift+7", "&Edit/Assign t&ype"},
    {33005, "Assign type 8\tCtrl+Shift+8", "&Edit/Assign t&ype"},
    {33006, "Assign type 9\tCtrl+Shift+9", "&Edit/Assign t&ype"},
    {33007, "Assign type 10", "&Edit/Assign t&ype"},
    {33008, "Assign type 11", "&Edit/Assign t&ype"},
    {33009, "Assign type 12", "&Edit/Assign t&ype"},
    {33010, "Assign type 13", "&Edit/Assign t&ype"},
    {33011, "Assign type 14", "&Edit/Assign t&ype"},
    {33012, "Assign type 15", "&Edit/Assign t&ype"},
    {33013, "Assign type 16", "&Edit/Assign t&ype"},
    {33093, "Assign H    (height, distance, diameter2)\tShift+Ctrl+H",
     "&Edit/&Standard references"},
    {33094, "Assign W   (width, length, diameter1)\tShift+Ctrl+W", "&Edit/&Standard references"},
    {33095, "Assign X    (X coordinate center point)\tShift+Ctrl+X", "&Edit/&Standard references"},
    {33096, "Assign Y    (Y coordinate center point)\tShift+Ctrl+Y", "&Edit/&Standard references"},
    {33097, "Assign Z    (Z coordinate for coord. trans.)\tShift+Ctrl+Z",
     "&Edit/&Standard references"},
    {33098, "Assign Ra  (angle of rotation around rotation point)\tAlt+Ctrl+A",
     "&Edit/&Standard references"},
    {33099, "Assign Rx  (X coordinate rotation point)\tAlt+Ctrl+X", "&Edit/&Standard references"},
    {33100, "Assign Ry  (Y coordinate rotation point)\tAlt+Ctrl+Y", "&Edit/&Standard references"},
    {33101, "Assign A    (angle of turning around center point)\tShift+Ctrl+A",
     "&Edit/&Standard references"},
    {33102, "Assign Blo  (lower brightness threshold)", "&Edit/&Standard references"},
    {33103, "Assign Bup (upper brightness threshold)", "&Edit/&Standard references"},
    {33104, "Assign Clo  (lower color threshold)", "&Edit/&Standard references"},
    {33105, "Assign Cup (upper color threshold)", "&Edit/&Standard references"},
    {0, "", "&Edit/&Standard references"},
    {33106, "Reset all assigned standard references", "&Edit/&Standard references"},
    {33107, "Automatic assignment of standard references\tShift+Ctrl+Alt+A",
     "&Edit/&Standard references"},
    {0, "", "&Edit"},
    {33046, "Rename feature\tF2", "&Edit"},
    {33049, "Reset all feature names of tool", "&Edit"},
    {33113, "Use feature for quality decision\tCtrl+D", "&Edit"},
    {32862, "Part &list\tAlt+L", "&View"},
    {32860, "Part contour\tAlt+K", "&View"},
    {32861, "&Teach-Data\tAlt+T", "&View"},
    {32845, "Feature &graph\tAlt+G", "&View"},
    {32889, "Project d&ocumentation\tAlt+O", "&View"},
    {32791, "Tool propertie&s\tAlt+S", "&View"},
    {33074, "Data output\tAlt+D", "&View"},
    {33051, "&Communication manager\tAlt+C", "&View"},
    {0, "", "&View"},
    {59392, "&Toolbar", "&View"},
    {59393, "&Status Bar", "&View"},
    {32867, "Wizard for manual project creation", "&View"},
    {0, "", "&View"},
    {32916, "&Switch between teach and test data\tCtrl+U", "&View"},
    {32897, "Switch between contour and camera image", "&View"},
    {32991, "Show position of unselected tools", "&View"},
    {33014, "Show coordinate systems in world coordinates", "&View"},
    {33003, "Display received part automatically", "&View"},
    {0, "", "&View"},
    {32821, "Settings for tape measure", "&View"},
    {32830, "Copy screenshot to &clipboard", "&View"},
    {32829, "Save screenshot to &file", "&View"},
    {32921, "Previous part\tArrow left", "&Navigate"},
    {32922, "Next part\tArrow right", "&Navigate"},
    {32925, "10 parts back\tHome", "&Navigate"},
    {32926, "10 parts forward\tEnd", "&Navigate"},
    {32924, "Goto part no.\tCtrl+G", "&Navigate"},
    {0, "", "&Navigate"},
    {32927, "Previous orientation\tPgUp", "&Navigate"},
    {32928, "Next orientation\tPgDn", "&Navigate"},
    {32775, "Previous part type", "&Navigate"},
    {32776, "Next part type", "&Navigate"},
    {32929, "Previous feature\t Arrow up", "&Navigate"},
    {32930, "Next feature\t Arrow down", "&Navigate"},
    {33081, "Previous tool", "&Navigate"},
    {33082, "Next tool", "&Navigate"},
    {33076, "Previous data output", "&Navigate"},
    {33077, "Next data output", "&Navigate"},
    {32834, "Previous check program", "&Navigate"},
    {32835, "Next check program", "&Navigate"},
    {32891, "Project wizard\tCtrl+W", "&Project"},
    {32919, "Pro&ject properties\tAlt+J", "&Project"},
    {32915, "Check program &manager\tAlt+M", "&Project"},
    {32779, "Add new check program to project", "&Project/Check &program"},
    {32836, "Delete current check program", "&Project/Check &program"},
    {33019, "Copy check program", "&Project/Check &program"},
    {33020, "Paste check program", "&Project/Check &program"},
    {32837, "Check program properties", "&Project/Check &program"},
    {0, "", "&Project"},
    {32917, "Optimizing type and orientation detection", "&Project"},
    {32796, "Statistical evaluation of a feature", "&Project"},
    {0, "", "&Project"},
    {32878, "Counter properties", "&Project"},
    {32797, "Add tolerance", "&Project/&Teach-Data"},
    {32798, "Decrease tolerance", "&Project/&Teach-Data"},
    {0, "", "&Project/&Teach-Data"},
    {32799, "Delete part type", "&Project/&Teach-Data"},
    {32800, "Part type properties", "&Project/&Teach-Data"},
    {0, "", "&Project/&Teach-Data"},
    {32801, "Properties / evaluation of Teach-Data", "&Project/&Teach-Data"},
    {32912, "Start Mirrel\tAlt+P", "&Project"},
    {32852, "ROI", "&Tools/Add &tool"},
    {32853, "VStrip", "&Tools/Add &tool"},
    {32854, "CTool", "&Tools/Add &tool"},
    {32944, "Distance measurement", "&Tools/Add &tool"},
    {32945, "Angle measurement", "&Tools/Add &tool"},
    {32946, "Counting measurement", "&Tools/Add &tool"},
    {32788, "Vertical distance measurement", "&Tools/Add &tool"},
    {32793, "Multiple distance measurement", "&Tools/Add &tool"},
    {32794, "Multiple angle measurement", "&Tools/Add &tool"},
    {32873, "External calculation (sensor)", "&Tools/Add &tool"},
    {32872, "Math / logic function", "&Tools/Add &tool"},
    {33111, "Geometry function", "&Tools/Add &tool"},
    {33044, "Single measurement", "&Tools/Add &tool"},
    {33045, "Multiple measurement", "&Tools/Add &tool"},
    {33040, "Bar code reader", "&Tools/Add &tool"},
    {32855, "Blob finder", "&Tools/Add &tool"},
    {32856, "Blob finder+", "&Tools/Add &tool"},
    {32894, "Datamarix code reader / checker", "&Tools/Add &tool"},
    {32893, "Color detection", "&Tools/Add &tool"},
    {33053, "Brightness detection", "&Tools/Add &tool"},
    {33035, "Coordinate transformation", "&Tools/Add &tool"},
    {33056, "Edge finder", "&Tools/Add &tool"},
    {33108, "Circle finder", "&Tools/Add &tool"},
    {33055, "Flagword access", "&Tools/Add &tool"},
    {33057, "I/O access", "&Tools/Add &tool"},
    {33120, "Specific tool", "&Tools/Add &tool"},
    {32903, "Image compare", "&Tools/Add &tool"},
    {33041, "Text recognition (OCR)", "&Tools/Add &tool"},
    {32895, "Pattern matching", "&Tools/Add &tool"},
    {33116, "Pattern matching+", "&Tools/Add &tool"},
    {32990, "Ray tool", "&Tools/Add &tool"},
    {33118, "3DO", "&Tools/Add &tool"},
    {33117, "Halcon procedure", "&Tools/Add &tool"},
    {33085, "Telnet - KVT..-Q Part Detector", "&Tools/Add &data output"},
    {33087, "EtherNet/IP - CIP Object", "&Tools/Add &data output"},
    {33086, "Telnet - KVT..-Q Data Collection", "&Tools/Add &data output"},
    {33088, "Telnet - XML", "&Tools/Add &data output"},
    {33109, "HTTP - WebViewer", "&Tools/Add &data output"},
    {33110, "Telmar - Mirrel (Viewer)", "&Tools/Add &data output"},
    {33121, "FTP - File transfer", "&Tools/Add &data output"},
    {32887, "Adjust viewing area on/off", "&Contour"},
    {32888, "Ignore part areas with a height less than...", "&Contour"},
    {32823, "Ignore hole areas with a height less than...", "&Contour"},
    {32822, "Undo last filter", "&Contour"},
    {0, "", "&Contour"},
    {32826, "Combine with 'OR' operator", "&Contour"},
    {32827, "Combine with 'XOR' operator", "&Contour"},
    {32832, "Combine with 'AND' operator", "&Contour"},
    {0, "", "&Contour"},
    {33021, "Mirror at vertical axis", "&Contour"},
    {33022, "Mirror at horizontal axis", "&Contour"},
    {32790, "&Connect or disconnect from device", "&Device"},
    {32941, "&Diagnostic mode", "&Device"},
    {32942, "&Operating mode", "&Device"},
    {0, "", "&Device"},
    {32883, "Record sample parts via connection\tCtrl+T", "&Device"},
    {32884, "Record test parts via connection\tCtrl+A", "&Device"},
    {32985, "Record parts without camera images", "&Device"},
    {32789, "Record parts without contour images", "&Device"},
    {32988, "Send trigger signal / create part(s)\tF5", "&Device"},
    {32989, "Record received parts to file", "&Device"},
    {0, "", "&Device"},
    {33033, "Download parts recorded in device", "&Device"},
    {33034, "Delete parts recorded in device", "&Device"},
    {0, "", "&Device"},
    {33030, "Send time and date of PC", "&Device"},
    {33036, "Send error acknowledge", "&Device"},
    {33037, "Send accept check program signal", "&Device"},
    {0, "", "&Device"},
    {33038, "Send coordinate transformation to device", "&Device"},
    {33039, "Receive coordinate transformation from device", "&Device"},
    {33058, "Calibration of coordinate transformation", "&Device"},
    {32880, "&Options...", "E&xtras"},
    {57650, "&Cascade", "&Window"},
    {57651, "&Tile", "&Window"},
    {57649, "&Arrange Icons", "&Window"},
    {57667, "&Help Topics\tF1", "&Help"},
    {57664, "&About Kalvor...", "&Help"},
    {32777, "Check program selector", ""},
    {32782, "Zoom", ""},
    {32783, "Zoom slider", ""},
    {32784, "Select check program", ""},
    {32865, "Magnifier", ""},
    {32870, "Linked tool window", ""},
    {32900, "Tool properties\tAlt+S", ""},
    {32901, "Move up", ""},
    {32902, "Move down", ""},
    {33066, "Test case (no action)", ""},
    {33067, "Start the test-case run", ""},
    {33069, "Open the current test case", ""},
    {33071, "End the test-case run", ""},
    {33075, "Add data output", ""},
    {33079, "Select data output", ""},
    {33080, "Select tool", ""},
    {33092, "Tool selector", ""},
    {35100, "Parts received", ""},
    {35101, "Parts received (with memory)", ""},
    {35102, "Device state changed", ""},
    {35103, "Device time changed", ""},
    {35104, "Continue fetching parts", ""},
    {35105, "Parts received (T2)", ""},
    {35106, "Device editor changed", ""},
    {35107, "Part arrived (wizard)", ""},
    {35108, "Connection lost", ""},
    {35110, "Parts received (ME)", ""},
    {35115, "Apply tool properties", ""},
    {35120, "Activate Kalvor", ""},
    {35122, "Help request", ""},
};

// The program's key names in shortcut texts and their portable names.
constexpr std::pair<std::string_view, std::string_view> kKeyNames[] = {
    {"Arrow left", "Left"}, {"Arrow right", "Right"}, {"Arrow up", "Up"},
    {"Arrow down", "Down"}, {"PgUp", "PgUp"},         {"PgDn", "PgDown"},
    {"Del", "Del"},         {"Home", "Home"},         {"End", "End"},
};

std::string_view Trim(std::string_view s) {
    const size_t first = s.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    const size_t last = s.find_last_not_of(' ');
    return s.substr(first, last - first + 1);
}

}  // namespace

const std::vector<OCommandInfo>& CommandTable() {
    return kTable;
}

const OCommandInfo* FindCommand(int id) {
    static const auto byId = [] {
        std::unordered_map<int, const OCommandInfo*> map;
        for (const OCommandInfo& info : kTable) {
            if (info.id != 0) map.emplace(info.id, &info);
        }
        return map;
    }();
    const auto it = byId.find(id);
    return it == byId.end() ? nullptr : it->second;
}

std::string_view MenuLabel(std::string_view text) {
    return text.substr(0, text.find('\t'));
}

std::string_view ShortcutText(std::string_view text) {
    const size_t tab = text.find('\t');
    return tab == std::string_view::npos ? std::string_view() : Trim(text.substr(tab + 1));
}

std::optional<std::string> PortableShortcut(std::string_view text) {
    std::string_view shortcut = ShortcutText(text);
    if (shortcut.empty()) return std::nullopt;
    for (const auto& [name, portable] : kKeyNames) {
        if (shortcut == name) return std::string(portable);
    }
    const size_t plus = shortcut.rfind('+');
    std::string_view modifiers = plus == std::string_view::npos ? "" : shortcut.substr(0, plus + 1);
    std::string_view key = plus == std::string_view::npos ? shortcut : shortcut.substr(plus + 1);
    for (const auto& [name, portable] : kKeyNames) {
        if (key == name) key = portable;
    }
    // The key is the last "+"-separated part.
    return std::string(modifiers) + std::string(key);
}

std::string PlainLabel(std::string_view text) {
    const std::string_view label = MenuLabel(text);
    std::string plain;
    for (size_t i = 0; i < label.size(); ++i) {
        if (label[i] != '&') {
            plain += label[i];
        } else if (i + 1 < label.size() && label[i + 1] == '&') {
            plain += '&';
            ++i;
        }
    }
    return plain;
}

const std::vector<int>& MainToolbarCommands() {
    static const std::vector<int> kButtons = {
        Cmd::kFileNew,
        Cmd::kFileOpen,
        Cmd::kFileSave,
        0,
        Cmd::kEditCut,
        Cmd::kEditCopy,
        Cmd::kEditPaste,
        0,
        Cmd::kEditUndo,
        Cmd::kEditRedo,
        0,
        Cmd::kConnect,
        Cmd::kRecordSampleParts,
        Cmd::kRecordTestParts,
        Cmd::kRecordWithoutContour,
        Cmd::kRecordWithoutCamera,
        0,
        Cmd::kViewPartList,
        Cmd::kViewPartContour,
        Cmd::kViewTeachData,
        0,
        Cmd::kProjectWizard,
        Cmd::kAppAbout,
    };
    return kButtons;
}

bool bIsMainToolbarCheckButton(int id) {
    return id == Cmd::kConnect || id == Cmd::kRecordSampleParts || id == Cmd::kRecordTestParts ||
           id == Cmd::kRecordWithoutContour || id == Cmd::kRecordWithoutCamera;
}

bool bIsImplementedCommand(int id) {
    static const int kImplemented[] = {
        Cmd::kFileNew,
        Cmd::kFileOpen,
        Cmd::kFileClose,
        Cmd::kFileSave,
        Cmd::kFileSaveAs,
        Cmd::kFileImport,
        Cmd::kFileExport,
        Cmd::kAddTolerance,
        Cmd::kDecreaseTolerance,
        Cmd::kDeletePartType,
        Cmd::kPartTypeProperties,
        Cmd::kTeachDataEvaluation,
        Cmd::kCounterProperties,
        Cmd::kFeatureForQuality,
        Cmd::kEditUndo,
        Cmd::kEditRedo,
        Cmd::kViewPartList,
        Cmd::kViewPartContour,
        Cmd::kViewTeachData,
        Cmd::kViewFeatureGraph,
        Cmd::kViewProjectDocumentation,
        Cmd::kViewToolProperties,
        Cmd::kViewDataOutput,
        Cmd::kViewCommunicationManager,
        Cmd::kToggleDisplayReceivedPart,
        Cmd::kToggleWorldCoordinates,
        Cmd::kToggleWizardBar,
        ContourEditCommand::kViewingArea,
        ContourEditCommand::kThinAreas,
        ContourEditCommand::kHoles,
        ContourEditCommand::kUndoFilter,
        ContourEditCommand::kCombineOr,
        ContourEditCommand::kCombineXor,
        ContourEditCommand::kCombineAnd,
        Cmd::kStartCompanionViewer,
        Cmd::kPrintProject,
        Cmd::kActivateFromCompanion,
        Cmd::kProjectProperties,
        Cmd::kOptions,
        Cmd::kAccuracyWizard,
        Cmd::kOptimizeWizard,
        Cmd::kProjectWizard,
        Cmd::kTestCaseNothing,
        Cmd::kAppAbout,
        Cmd::kAppExit,
        Cmd::kViewToolbar,
        Cmd::kViewStatusBar,
        Cmd::kWindowArrange,
        Cmd::kWindowCascade,
        Cmd::kWindowTile,
        Cmd::kConnect,
        Cmd::kDiagnosticMode,
        Cmd::kOperatingMode,
        Cmd::kRecordSampleParts,
        Cmd::kRecordTestParts,
        Cmd::kRecordWithoutCamera,
        Cmd::kRecordWithoutContour,
        Cmd::kSendTrigger,
        Cmd::kRecordToFile,
        Cmd::kDownloadPartLog,
        Cmd::kDeletePartLog,
        Cmd::kSendTime,
        Cmd::kSendErrorAcknowledge,
        Cmd::kSendAcceptCheckProgram,
        Cmd::kSendCoordTrans,
        Cmd::kReceiveCoordTrans,
        Cmd::kCalibrateCoordTrans,
        Cmd::kCheckProgramManager,
        Cmd::kLinkContourPart,
        Cmd::kLinkContourFeaturePart,
        Cmd::kLinkStateChanged,
        Cmd::kLinkLogChanged,
        Cmd::kLinkContinue,
        Cmd::kLinkImagePart,
        Cmd::kLinkProgramsChanged,
        Cmd::kLinkConnectionLost,
        Cmd::kLinkResultPart,
    };
    int kind = 0, subKind = 0;
    if (ODoc::bToolOfCommand(id, 1, kind, subKind) || ODoc::iDataOutputOfCommand(id) != 0 ||
        ODoc::bIsPartCommand(id))
        return true;
    if (id >= Cmd::kRecentFileFirst && id < Cmd::kRecentFileFirst + Cmd::kRecentFileCount)
        return true;
    return std::find(std::begin(kImplemented), std::end(kImplemented), id) !=
           std::end(kImplemented);
}
