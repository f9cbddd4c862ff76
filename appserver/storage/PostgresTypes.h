#pragma once

#include <libpq-fe.h>

namespace fai::appserver {

// Type numbers of the pg_type catalogue, fixed since PostgreSQL's first releases.
enum PostgresType : Oid {
    kBool = 16,
    kInt8 = 20,
    kInt2 = 21,
    kInt4 = 23,
    kOid = 26,
    kFloat4 = 700,
    kFloat8 = 701,
    kDate = 1082,
    kTimestamp = 1114,
    kTimestampTz = 1184,
    kNumeric = 1700,
};

inline bool IsNumber(Oid type) {
    switch (type) {
        case kInt8:
        case kInt2:
        case kInt4:
        case kFloat4:
        case kFloat8:
        case kNumeric:
            return true;
        default:
            return false;
    }
}

}  // namespace fai::appserver
