#pragma once

#include "DataPacket.h"
#include "TestSeed.h"

#include <initializer_list>

namespace fai::appserver::test {

// Deltas built by hand, for the saves no screen of ours would send but any program could.

// One inserted headcount row, as the headcount dataset's delta carries it.
DataPacket InsertedHeadcount(const TestSeed::Key& key, double billed, double forecast,
                             double value = 0);
// The rows of several deltas in one.
DataPacket Joined(std::initializer_list<DataPacket> deltas);
// Sets a field of every row of the delta, current values and originals alike.
void SetEverywhere(DataPacket& delta, const char* field, const Value& value);

}  // namespace fai::appserver::test
