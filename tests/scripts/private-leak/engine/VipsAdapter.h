#pragma once
// Stands for the engine backend a window must not reach.
