#pragma once
// The four C entry points the host looks up in Trimjet.hpx, and their pointer types for
// callers that load the plug-in with dlopen. Every entry point returns 0.
#include <cstdint>

#include "plugin/HostRecords.h"

#define TRIMJET_EXPORT __attribute__((visibility("default")))

extern "C" {
// Fills the description and command records.
TRIMJET_EXPORT std::int32_t CXP_Init(std::int32_t unused);
// Writes the address of the description record into *info.
TRIMJET_EXPORT std::int32_t CXP_GetPlugInInfo(HostRecords::DescriptionRecord** info);
// Builds the command line for the selection and starts the program.
TRIMJET_EXPORT std::int32_t CXP_InvokeCommand(const HostRecords::InvocationRecord* invocation,
                                              std::int32_t unused);
// Starts the program without a keyword.
TRIMJET_EXPORT std::int32_t CXP_ShowPlugInDialog(std::int32_t unused);
}

namespace PlugInExports {
using InitFn = std::int32_t (*)(std::int32_t);
using GetPlugInInfoFn = std::int32_t (*)(HostRecords::DescriptionRecord**);
using InvokeCommandFn = std::int32_t (*)(const HostRecords::InvocationRecord*, std::int32_t);
using ShowPlugInDialogFn = std::int32_t (*)(std::int32_t);
}  // namespace PlugInExports
