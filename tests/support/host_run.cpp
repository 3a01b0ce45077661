#include "support/host_run.h"
