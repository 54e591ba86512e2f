#pragma once
// Vocabulary of the data grid: its option sets, the styles of its properties, the draw
// state of a cell, and the colours it names the way the forms store them.

#include <QColor>
#include <QFlags>

enum class TDBGridOption : unsigned {
    dgEditing = 1u << 0,
    dgAlwaysShowEditor = 1u << 1,
    dgTitles = 1u << 2,
    dgIndicator = 1u << 3,
    dgColumnResize = 1u << 4,
    dgColLines = 1u << 5,
    dgRowLines = 1u << 6,
    dgTabs = 1u << 7,
    dgRowSelect = 1u << 8,
    dgAlwaysShowSelection = 1u << 9,
    dgConfirmDelete = 1u << 10,
    dgCancelOnExit = 1u << 11,
    dgMultiSelect = 1u << 12,
};
Q_DECLARE_FLAGS(TDBGridOptions, TDBGridOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(TDBGridOptions)

// The option set of a grid just created.
inline TDBGridOptions defaultGridOptions()
{
    using O = TDBGridOption;
    return O::dgEditing | O::dgTitles | O::dgIndicator | O::dgColumnResize | O::dgColLines | O::dgRowLines
        | O::dgConfirmDelete | O::dgCancelOnExit;
}

enum class TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

// Which entries the options menu shows.
enum class TExMenuOption : unsigned {
    exAutoSize = 1u << 0,
    exAutoWidth = 1u << 1,
    exDisplayBoolean = 1u << 2,
    exDisplayImages = 1u << 3,
    exDisplayMemo = 1u << 4,
    exDisplayDateTime = 1u << 5,
    exShowTextEllipsis = 1u << 6,
    exShowTitleEllipsis = 1u << 7,
    exFullSizeMemo = 1u << 8,
    exAllowRowSizing = 1u << 9,
    exCellHints = 1u << 10,
    exMultiLineTitles = 1u << 11,
    exUseRowColors = 1u << 12,
    exFixedColumns = 1u << 13,
    exPrintGrid = 1u << 14,
    exPrintDataSet = 1u << 15,
    exExportGrid = 1u << 16,
    exSelectAll = 1u << 17,
    exUnSelectAll = 1u << 18,
    exQueryByForm = 1u << 19,
    exSortByForm = 1u << 20,
    exMemoInplaceEditors = 1u << 21,
    exCustomize = 1u << 22,
    exSearchMode = 1u << 23,
    exSaveLayout = 1u << 24,
    exLoadLayout = 1u << 25,
};
Q_DECLARE_FLAGS(TExMenuOptions, TExMenuOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(TExMenuOptions)

inline TExMenuOptions allExMenuOptions() { return TExMenuOptions::fromInt((1u << 26) - 1); }

enum class TMemoInplaceEditor { Memo, RichEdit };
enum class TMemoViewType { WordWrapOn, ScrollBarsOn };
enum class TGridAutoWidthDisplay { Uniform, Proportional };
enum class TFlatCheckBoxType { Normal, Bold };
enum class TExportDelimiter { Pipe, Comma, Quote };
enum class TSortMarker { None, Up, Down };

enum class TGridDrawStateFlag : unsigned { gdSelected = 1, gdFocused = 2, gdFixed = 4 };
Q_DECLARE_FLAGS(TGridDrawState, TGridDrawStateFlag)
Q_DECLARE_OPERATORS_FOR_FLAGS(TGridDrawState)

// Colours as the forms name them. System colours follow the application's palette.
namespace gridcolor {

// A stored colour integer is blue-green-red.
inline QColor fromBgr(int bgr) { return QColor(bgr & 0xff, (bgr >> 8) & 0xff, (bgr >> 16) & 0xff); }

inline QColor navy() { return QColor(0, 0, 128); }
inline QColor gray() { return QColor(128, 128, 128); }
inline QColor silver() { return QColor(192, 192, 192); }
inline QColor white() { return QColor(255, 255, 255); }
inline QColor black() { return QColor(0, 0, 0); }

QColor window();          // clWindow
QColor windowText();      // clWindowText
QColor btnFace();         // clBtnFace
QColor btnShadow();       // clBtnShadow
QColor btnHighlight();    // clBtnHighlight
QColor highlight();       // clHighlight
QColor highlightText();   // clHighlightText

} // namespace gridcolor

class QEvent;
class QKeyEvent;

namespace gridkeys {

// Tab or Shift+Tab as the grid's own key: Qt would otherwise turn it into a focus move
// before any key handler of the grid or its editors sees it. Null for any other event.
QKeyEvent *focusTabKey(QEvent *event);

} // namespace gridkeys
