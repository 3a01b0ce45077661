// Start-up inside the host process.
#pragma once
#include <cstdint>

void StartUp();
void InitPlugin();
int32_t ApplyCameraCallback();
