// SPDX-License-Identifier: Apache-2.0
// The handful of Windows-style scalar types and result codes that the
// program's classes are written with.
#ifndef KELM_FRAMEWORK_AFXTYPES_H
#define KELM_FRAMEWORK_AFXTYPES_H

#include <cstdint>

using UINT = unsigned int;
using BOOL = int;
using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using LONG = std::int32_t;
using ULONGLONG = std::uint64_t;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

#endif
