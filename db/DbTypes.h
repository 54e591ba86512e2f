#pragma once
// Shared vocabulary of the dataset framework.

#include <QByteArray>

enum class TDataSetState { dsInactive, dsBrowse, dsEdit, dsInsert, dsSetKey, dsCalcFields, dsFilter };

enum class TFieldType {
    ftUnknown, ftString, ftSmallint, ftInteger, ftAutoInc, ftBoolean, ftFloat, ftCurrency,
    ftDate, ftTime, ftDateTime, ftBytes, ftVarBytes, ftBlob, ftMemo,
};

enum class TFieldKind { fkData, fkCalculated, fkLookup };

enum class TGetMode { gmCurrent, gmNext, gmPrior };
enum class TGetResult { grOK, grBOF, grEOF, grError };

// State of the record held in a buffer.
enum class TBookmarkFlag { bfCurrent = 0, bfBOF = 1, bfEOF = 2, bfInserted = 3 };

enum class TDataEvent {
    deFieldChange, deRecordChange, deDataSetChange, deDataSetScroll, deLayoutChange,
    deUpdateRecord, deUpdateState, deCheckBrowseMode, dePropertyChange, deFieldListChange,
    deFocusControl, deParentScroll,
};

enum class TBlobStreamMode { bmRead, bmWrite, bmReadWrite };

// What an error handler (OnPostError, OnEditError, OnDeleteError) decides.
enum class TDataAction { daFail, daAbort, daRetry };

enum class TLocateOption { loCaseInsensitive = 1, loPartialKey = 2 };

// A bookmark: four bytes naming a record; empty when there is none.
using TBookmark = QByteArray;
// The four bytes (little-endian) of a record id, and back (0 for an empty or short bookmark).
TBookmark bookmarkFromId(qint32 id);
qint32 bookmarkToId(const TBookmark &bookmark);

// The type's name as the framework's messages give it ("String", "Integer", ...).
const char *fieldTypeName(TFieldType type);
