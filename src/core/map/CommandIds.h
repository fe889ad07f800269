// The command ids of the main window and of the map window: menus, toolbar and keys carry them.
#pragma once

namespace viamappa::cmd {

// Main window: "&Fine", "&?" and the "&Database" menu.
inline constexpr int kExit = 5101;
inline constexpr int kAbout = 5102;
inline constexpr int kCreateDatabase = 5103;
inline constexpr int kConnectDatabase = 5104;
inline constexpr int kDisconnectDatabase = 5105;
inline constexpr int kRepairDatabase = 5106;
inline constexpr int kDuplicateDatabase = 5107;

// Imports, exports, utilities and the background choice.
inline constexpr int kImportMunicipalities = 5108;
inline constexpr int kImportLocalities = 5109;
inline constexpr int kChooseBackground = 5110;
inline constexpr int kImportRoadGraph = 5112;
inline constexpr int kLocalizeRoadGraph = 5113;
inline constexpr int kRenameArcs = 5116;
inline constexpr int kExportRoadGraph = 5117;
inline constexpr int kExportChanges = 5118;
inline constexpr int kExportStreetList = 5119;
inline constexpr int kImportToponyms = 5120;
inline constexpr int kLocalizeToponyms = 5121;
inline constexpr int kImportSecondaryGraph = 5125;
inline constexpr int kMergeBrokenArcs = 5126;
inline constexpr int kRegenerateNodes = 5127;
inline constexpr int kExportTramex = 5128;
// The check of the road graph, beside the topology commands of the "&Utilità" menu.
inline constexpr int kValidateGraph = 5129;

// The "&Operazioni" menu and the toolbar.
inline constexpr int kPan = 40001;
inline constexpr int kZoom = 40002;
inline constexpr int kHomeView = 40003;
inline constexpr int kAreaSelection = 40004;
inline constexpr int kThematicStyling = 40005;
inline constexpr int kToponymSearch = 40006;
inline constexpr int kDragMode = 40007;
inline constexpr int kAdjustSegmentMode = 40008;
inline constexpr int kDrawArcMode = 40009;
inline constexpr int kDeleteVertexMode = 40010;
inline constexpr int kHighlightRoads = 40011;
inline constexpr int kPathStart = 40012;
inline constexpr int kPathEnd = 40013;

// Commands of the map window, reached by its keys and its context menu.
inline constexpr int kPreviousView = 5111;  // back to the view before the current one (F9)
inline constexpr int kEditArcData = 5114;
inline constexpr int kStartNewArc = 5115;
inline constexpr int kDeleteChosenVertex = 5122;
inline constexpr int kChoosePathStart = 5123;
inline constexpr int kChoosePathEnd = 5124;

// Zooms and moves of the map window's keys.
inline constexpr int kZoomInTwice = 5501;
inline constexpr int kZoomInFourTimes = 5502;
inline constexpr int kZoomOutTwice = 5503;
inline constexpr int kZoomOutFourTimes = 5504;
inline constexpr int kMoveWest = 5505;
inline constexpr int kMoveWestFar = 5506;
inline constexpr int kMoveEast = 5507;
inline constexpr int kMoveEastFar = 5508;
inline constexpr int kMoveNorth = 5509;
inline constexpr int kMoveNorthFar = 5510;
inline constexpr int kMoveSouth = 5511;
inline constexpr int kMoveSouthFar = 5512;
inline constexpr int kMoveNorthWest = 5513;
inline constexpr int kMoveNorthEast = 5514;
inline constexpr int kMoveSouthWest = 5515;
inline constexpr int kMoveSouthEast = 5516;

// Digitising keys of the map window.
inline constexpr int kInsertVertex = 5517;
inline constexpr int kStartNewArcKey = 5518;
inline constexpr int kFinishArc = 5519;
inline constexpr int kAbandonArc = 5520;
inline constexpr int kRemoveLastPoint = 5521;

inline constexpr int kFirstMapKeyCommand = 5501;
inline constexpr int kLastMapKeyCommand = 5523;

// Undo and redo of the map window's edits (Alt+Backspace, Ctrl+Y and its context menu).
inline constexpr int kUndoEdit = 5524;
inline constexpr int kRedoEdit = 5525;

}  // namespace viamappa::cmd
