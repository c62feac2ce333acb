// A window reaching past the engine into its backend.
#include "engine/VipsAdapter.h"
