// The simulated host, all of it. See sim/README.md for an overview.
#pragma once
#include "sim/code_watch.h"
#include "sim/frame.h"
#include "sim/host_image.h"
#include "sim/host_layout.h"
#include "sim/host_state.h"
#include "sim/imports.h"
#include "sim/natives.h"
#include "sim/ped_model.h"
#include "sim/sites.h"
#include "sim/trace.h"
#include "sim/world_model.h"
