// The in-memory table of the dataset tests, built into this test program as well so the
// navigator tests can drive a real dataset.
#include "../db/MemoryDataSet.cpp"
