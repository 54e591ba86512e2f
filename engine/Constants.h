#pragma once
// Numbers of the engine's object model that callers pass or test.

namespace dao {

// Field types.
enum FieldType : int {
    dbBoolean = 1, dbByte = 2, dbInteger = 3, dbLong = 4, dbCurrency = 5, dbSingle = 6,
    dbDouble = 7, dbDate = 8, dbBinary = 9, dbText = 10, dbLongBinary = 11, dbMemo = 12,
    dbGUID = 15, dbBigInt = 16, dbVarBinary = 17, dbChar = 18, dbNumeric = 19,
    dbDecimal = 20, dbFloat = 21,
};

// Field attributes.
enum FieldAttribute : int {
    dbFixedField = 1, dbVariableField = 2, dbAutoIncrField = 16, dbUpdatableField = 32,
    dbSystemField = 8192,
};

// Table attributes: the system-object bits.
inline constexpr int dbSystemObject = int(0x80000002u);

// Recordset types.
enum RecordsetType : int {
    dbOpenTable = 1, dbOpenDynaset = 2, dbOpenSnapshot = 4, dbOpenForwardOnly = 8,
    dbOpenDynamic = 16,
};

// Recordset options (a sum of these).
enum RecordsetOption : int {
    dbDenyWrite = 1, dbDenyRead = 2, dbReadOnly = 4, dbAppendOnly = 8, dbInconsistent = 16,
    dbConsistent = 32, dbSQLPassThrough = 64, dbFailOnError = 128, dbForwardOnly = 256,
    dbSeeChanges = 512, dbRunAsync = 1024, dbExecDirect = 2048,
};

// Lock types.
enum LockType : int { dbPessimistic = 2, dbOptimistic = 3 };

// EditMode values.
enum EditMode : int { dbEditNone = 0, dbEditInProgress = 1, dbEditAdd = 2 };

// Workspace types.
enum WorkspaceType : int { dbUseODBC = 1, dbUseJet = 2 };

} // namespace dao
