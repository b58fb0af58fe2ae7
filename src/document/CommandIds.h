// Numeric ids of the commands the document and the application execute themselves.
// Every id with its menu text is listed in CommandTable.
#pragma once

namespace Cmd {

// Framework commands
inline constexpr int kFileNew = 57600;
inline constexpr int kFileOpen = 57601;
inline constexpr int kFileClose = 57602;
inline constexpr int kFileSave = 57603;
inline constexpr int kFileSaveAs = 57604;
inline constexpr int kFilePrint = 57607;
inline constexpr int kFilePrintPreview = 57609;
inline constexpr int kPrintProject = 32914;
inline constexpr int kRecentFileFirst = 57616;  // eight entries
inline constexpr int kRecentFileCount = 8;
inline constexpr int kEditCopy = 57634;
inline constexpr int kEditCut = 57635;
inline constexpr int kEditPaste = 57637;
inline constexpr int kEditSelectAll = 57642;
inline constexpr int kEditUndo = 57643;
inline constexpr int kEditRedo = 57644;
inline constexpr int kWindowArrange = 57649;
inline constexpr int kWindowCascade = 57650;
inline constexpr int kWindowTile = 57651;
inline constexpr int kAppAbout = 57664;
inline constexpr int kAppExit = 57665;
inline constexpr int kHelpTopics = 57667;
inline constexpr int kViewToolbar = 59392;
inline constexpr int kViewStatusBar = 59393;

// Import and export of single pieces of the project
inline constexpr int kFileImport = 32906;
inline constexpr int kFileExport = 32907;

// Views
inline constexpr int kViewPartList = 32862;
inline constexpr int kViewPartContour = 32860;
inline constexpr int kViewTeachData = 32861;
inline constexpr int kViewFeatureGraph = 32845;
inline constexpr int kViewProjectDocumentation = 32889;
inline constexpr int kViewToolProperties = 32791;
inline constexpr int kViewDataOutput = 33074;
inline constexpr int kViewCommunicationManager = 33051;

// Display toggles and companion viewer
inline constexpr int kToggleDisplayReceivedPart = 33003;
inline constexpr int kToggleWorldCoordinates = 33014;
inline constexpr int kToggleWizardBar = 32867;
inline constexpr int kStartCompanionViewer = 32912;
inline constexpr int kActivateFromCompanion = 35120;

// Commands the welcome dialog and the test mode post
inline constexpr int kProjectWizard = 32891;
inline constexpr int kProjectProperties = 32919;
inline constexpr int kOptions = 32880;
inline constexpr int kTestCaseNothing = 33066;
inline constexpr int kTestCaseStart = 33067;
inline constexpr int kTestCaseOpen = 33069;  // the run's calls onto the user-interface thread
inline constexpr int kTestCaseEnd = 33071;

// Main toolbar check buttons
inline constexpr int kConnect = 32790;
inline constexpr int kRecordSampleParts = 32883;
inline constexpr int kRecordTestParts = 32884;
inline constexpr int kRecordWithoutContour = 32789;
inline constexpr int kRecordWithoutCamera = 32985;

// Part editing: navigation, assignments, standard references, check programs
inline constexpr int kPrevPart = 32921;
inline constexpr int kNextPart = 32922;
inline constexpr int kTenPartsBack = 32925;
inline constexpr int kTenPartsForward = 32926;
inline constexpr int kGotoPart = 32924;
inline constexpr int kSwitchTeachTest = 32916;
inline constexpr int kPrevOrientation = 32927;
inline constexpr int kNextOrientation = 32928;
inline constexpr int kPrevPartType = 32775;
inline constexpr int kNextPartType = 32776;
inline constexpr int kPrevFeature = 32929;
inline constexpr int kNextFeature = 32930;
inline constexpr int kPrevDataOutput = 33076;
inline constexpr int kNextDataOutput = 33077;
inline constexpr int kPrevTool = 33081;
inline constexpr int kNextTool = 33082;
inline constexpr int kPrevPartSet = 32834;
inline constexpr int kNextPartSet = 32835;
inline constexpr int kAssignOrientationFirst = 32812;  // orientations 1..8: 32812..32819
// "Assign type n", n = 1..16.
inline constexpr int kAssignTypeCommands[16] = {32805, 32806, 32807, 32808, 32809, 32811,
                                                33004, 33005, 33006, 33007, 33008, 33009,
                                                33010, 33011, 33012, 33013};
inline constexpr int kUseParts = 33059;
inline constexpr int kIgnoreParts = 32820;
inline constexpr int kResetReferences = 33106;
inline constexpr int kAutoAssignReferences = 33107;
inline constexpr int kMirrorVertical = 33021;
inline constexpr int kMirrorHorizontal = 33022;
inline constexpr int kDeleteCameraImages = 33018;
inline constexpr int kAddPartSet = 32779;
inline constexpr int kDeletePartSet = 32836;
inline constexpr int kSelectPartSet = 32784;
inline constexpr int kCopyPartSet = 33019;
inline constexpr int kPastePartSet = 33020;
inline constexpr int kPartSetProperties = 32837;
inline constexpr int kPartProperties = 32908;
inline constexpr int kEditDelete = 32899;
inline constexpr int kScreenshotToFile = 32829;
inline constexpr int kScreenshotToClipboard = 32830;

// Teach-Data of the shown part type
inline constexpr int kAddTolerance = 32797;
inline constexpr int kDecreaseTolerance = 32798;
inline constexpr int kDeletePartType = 32799;
inline constexpr int kPartTypeProperties = 32800;
inline constexpr int kTeachDataEvaluation = 32801;
inline constexpr int kCounterProperties = 32878;
inline constexpr int kFeatureForQuality = 33113;

// Device menu
inline constexpr int kDiagnosticMode = 32941;
inline constexpr int kOperatingMode = 32942;
inline constexpr int kSendTrigger = 32988;
inline constexpr int kRecordToFile = 32989;
inline constexpr int kDownloadPartLog = 33033;
inline constexpr int kDeletePartLog = 33034;
inline constexpr int kSendTime = 33030;
inline constexpr int kSendErrorAcknowledge = 33036;
inline constexpr int kSendAcceptCheckProgram = 33037;
inline constexpr int kSendCoordTrans = 33038;
inline constexpr int kReceiveCoordTrans = 33039;
inline constexpr int kCalibrateCoordTrans = 33058;
inline constexpr int kCheckProgramManager = 32915;

// Notifications of the device link, and the wizard's part notification
inline constexpr int kLinkContourPart = 35100;
inline constexpr int kLinkContourFeaturePart = 35101;
inline constexpr int kLinkStateChanged = 35102;
inline constexpr int kLinkLogChanged = 35103;
inline constexpr int kLinkContinue = 35104;
inline constexpr int kLinkImagePart = 35105;
inline constexpr int kLinkProgramsChanged = 35106;
inline constexpr int kWizardPartArrived = 35107;
inline constexpr int kLinkConnectionLost = 35108;
inline constexpr int kLinkResultPart = 35110;

}  // namespace Cmd
