#pragma once
// Type OIDs of the server's built-in types (pg_type.dat), fixed across server versions.

namespace dao::pg {

enum PgTypeOid : unsigned {
    kBoolOid = 16, kByteaOid = 17, kInt8Oid = 20, kInt2Oid = 21, kInt4Oid = 23, kOidOid = 26,
    kFloat4Oid = 700, kFloat8Oid = 701, kNumericOid = 1700,
};

} // namespace dao::pg
