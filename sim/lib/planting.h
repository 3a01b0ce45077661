// The steps of Boot(), each in the file of its concern. They run once, in this order,
// while the code area is still writable.
#pragma once
#include <cstdint>

namespace sim {

void PlantHostData();         // host_data.cpp
void PlantHostRoutines();     // host_routines.cpp
void PlantNativeHandlers();   // native_table.cpp
void PlantSiteStubs();        // site_stubs.cpp
void TakeBootCodeSnapshot();  // code_watch.cpp

// Parts of ResetModel(), each in the file of its concern.
void ResetHostData();  // host_data.cpp
void ResetNatives();   // native_table.cpp
void ResetSites();     // site_stubs.cpp

// Writes bytes into the code area as the host itself (protection lifted around the
// write), keeping the code snapshots in step so that the change is not reported as
// the plug-in's.
void WriteHostCode(uint32_t offset, const void* bytes, uint32_t size);

}  // namespace sim
